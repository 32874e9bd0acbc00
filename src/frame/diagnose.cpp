// The diagnosis: a document's own reader, run with an observer and containers
// of its own, so that what it reports is what the reader does.
#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "frame/documents.h"
#include "frame/outcome.h"
#include "talvoro/diagnose.h"

namespace talvoro {
namespace {

// Keeps every finding, with its texts, until the reader is done.
class Collector : public Observer {
 public:
  struct Kept {
    Finding finding;
    std::string element, attribute, written, stored;
  };

  void Report(const Finding& finding) override {
    kept_.push_back({finding, finding.element, finding.attribute, finding.written, finding.stored});
  }

  // Hands the findings out in document order, by the place of their
  // element, and for one element in the order the reader met them.
  void HandOut(FindingCallback callback, void* context) {
    std::stable_sort(kept_.begin(), kept_.end(), [](const Kept& a, const Kept& b) {
      return a.finding.line != b.finding.line ? a.finding.line < b.finding.line
                                              : a.finding.column < b.finding.column;
    });
    for (Kept& kept : kept_) {
      Finding finding = kept.finding;
      finding.element = kept.element.c_str();
      finding.attribute = kept.attribute.c_str();
      finding.written = kept.written.c_str();
      finding.stored = kept.stored.c_str();
      callback(&finding, context);
    }
  }

 private:
  std::vector<Kept> kept_;
};

}  // namespace

Reason Diagnose(DocumentKind kind, const char* path, Outcome* outcome, FindingCallback callback,
                void* context) {
  Status status;
  try {
    Collector findings;
    {
      Document doc(Env::Default(), &findings);
      const DocumentRow* row = FindDocument(kind);
      status =
          row ? row->diagnose(doc, path) : Status(Reason::kUnreadable, "unknown document kind");
    }
    if (status.ok() && callback) findings.HandOut(callback, context);
  } catch (const std::bad_alloc&) {
    status = Status(Reason::kNoMemory);
  }
  Report(status, 0, outcome);
  return status.code();
}

Reason DeclaredEncoding(const char* path, char* name, int size) {
  Status status;
  std::string encoding;
  try {
    Document doc;
    status = doc.Load(path).status;
    if (status.ok()) encoding = doc.Encoding();
  } catch (const std::bad_alloc&) {
    status = Status(Reason::kNoMemory);
  }
  if (name && size > 0) {
    const std::size_t kept = std::min(encoding.size(), static_cast<std::size_t>(size) - 1);
    encoding.copy(name, kept);
    name[kept] = '\0';
  }
  return status.code();
}

}  // namespace talvoro

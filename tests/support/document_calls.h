// Every document function of CTinyXmlHelper as one entry of a table, for the
// suites that treat them alike: the fuzz targets, the bad-input suite and the
// concurrency test. Each entry calls its function with fresh containers and
// reports what came back, as bytes, so that two runs can be compared and the
// result checked for soundness without knowing the function.
#ifndef TALVORO_TESTS_SUPPORT_DOCUMENT_CALLS_H_
#define TALVORO_TESTS_SUPPORT_DOCUMENT_CALLS_H_

#include <string>
#include <vector>

namespace testutil {

enum class CallKind {
  kReader,  // reads the file into records
  kEditor,  // loads the file, changes it and saves it back
  kWriter,  // replaces the file with a document built from records
};

struct CallOutcome {
  bool result = false;
  // Every byte the call left in the caller's containers and outputs, and for
  // editors and writers the file afterwards.
  std::string bytes;
  // Empty when the call behaved: on false the caller's data (and the file) as
  // before; on true every text field terminated within its width, and a
  // written or edited file readable again (a writer's records reading back
  // as written, where their text is UTF-8). Otherwise what went wrong.
  std::string fault;

  bool operator==(const CallOutcome& other) const {
    return result == other.result && bytes == other.bytes && fault == other.fault;
  }
};

struct DocumentCall {
  const char* name;
  CallKind kind;
  // Readers and editors work on the file at `path`. Writers write `records`
  // (raw record bytes, one record after the other, as a host might pass
  // them, terminators or not) to `path`.
  CallOutcome (*run)(const std::string& path, const std::string& records);
  // The bundled example of its document, under examples/, as the table of
  // documents names it.
  const char* example;
  // Writers: the reader whose records they write.
  const char* recordsFrom = nullptr;
};

const std::vector<DocumentCall>& AllCalls();
const DocumentCall* FindCall(const std::string& name);

}  // namespace testutil

#endif  // TALVORO_TESTS_SUPPORT_DOCUMENT_CALLS_H_

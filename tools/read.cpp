// Reading a document for `show`: through the library's C interface, the
// reader of each kind as the registry's lists name it, every record to the
// JSON of its array. Nothing here names a document: the lists of
// <talvoro/lists.h> say which arrays a kind fills and how.
#include <string>
#include <type_traits>
#include <vector>

#include "inspector.h"
#include "talvoro/c.h"

namespace inspector {
namespace {

using CReader = talvoro_reason(TALVORO_CALL*)(const char*, const talvoro_sink*, talvoro_outcome*);

CReader ReaderOf(talvoro::DocumentKind kind) {
  switch (kind) {
#define TALVORO_READER_OF(kind, cname, word, name, member, creader, writers, example) \
  case talvoro::DocumentKind::kind:                                                   \
    return &creader;
    TALVORO_DOCUMENTS(TALVORO_READER_OF)
#undef TALVORO_READER_OF
  }
  return nullptr;
}

// The shapes of <talvoro/lists.h>'s arrays.
enum class Shape { ARRAY, LIST, RECORD, TEXT };

struct ArrayRow {
  talvoro_array array;
  Shape shape;
  int document;
  const char* label;
  Json (*json)(const void* record);
};

template <class Record>
Json AsJson(const void* record) {
  if constexpr (std::is_same_v<Record, char>) {
    return Json(static_cast<const char*>(record));
  } else {
    return RecordJson(*static_cast<const Record*>(record));
  }
}

const ArrayRow kArrays[] = {
#define TALVORO_ARRAY_ROW(cname, shape, record, document, label) \
  {TALVORO_##cname, Shape::shape, TALVORO_DOCUMENT_##document, label, &AsJson<record>},
    TALVORO_ARRAYS(TALVORO_ARRAY_ROW)
#undef TALVORO_ARRAY_ROW
};

// What the reader handed over, array by array.
struct Received {
  std::vector<Json> records[TALVORO_ARRAY_END_];
};

int TALVORO_CALL OnRecord(void* context, talvoro_array array, const void* record) {
  static_cast<Received*>(context)->records[array].push_back(kArrays[array].json(record));
  return 0;
}

int TALVORO_CALL OnText(void* context, talvoro_array array, const char* text, size_t length) {
  static_cast<Received*>(context)->records[array].push_back(std::string(text, length));
  return 0;
}

}  // namespace

bool ReadDocument(const ShowKind& kind, const std::string& path, Json& out,
                  talvoro_outcome& outcome) {
  Received received;
  talvoro_sink sink{};
  sink.size = sizeof sink;
  sink.context = &received;
  sink.record = &OnRecord;
  sink.text = &OnText;
  outcome.size = sizeof outcome;
  if (ReaderOf(kind.kind)(path.c_str(), &sink, &outcome) != TALVORO_REASON_OK) return false;
  // Each array under its label; a record's members at the top; the texts
  // together under the kind's word.
  out = Json::object();
  for (const ArrayRow& row : kArrays) {
    if (row.document != static_cast<int>(kind.kind)) continue;
    std::vector<Json>& records = received.records[row.array];
    switch (row.shape) {
      case Shape::ARRAY:
      case Shape::LIST:
        out[row.label] = Json(records);
        break;
      case Shape::RECORD:
        for (Json& record : records)
          out.update(record);
        break;
      case Shape::TEXT:
        out[kind.name][row.label] = records.empty() ? Json("") : records.front();
        break;
    }
  }
  return true;
}

std::vector<ShowKind> AllKinds() {
  std::vector<ShowKind> kinds;
  for (int i = 0; const talvoro::DocumentType* type = talvoro::DocumentTypeAt(i); ++i)
    kinds.push_back({type->word, type->name, type->kind});
  return kinds;
}

}  // namespace inspector

// The table of document kinds, made from the registry (src/registry.txt,
// through TALVORO_DOCUMENTS): how the library names each kind, and each
// kind's binding, which its document's file makes. The diagnosis, the C
// interface and DocumentTypeAt read it.
#include "api/binding.h"

namespace talvoro {
namespace {

struct DocumentRow {
  DocumentType type;
  const Binding& (*binding)();
};

constexpr DocumentRow kDocuments[] = {
#define TALVORO_DOCUMENT_ROW(kind, cname, word, name, member, creader, writers, example) \
  {{DocumentKind::kind, word, name, #member, writers, example}, &BindingOf<DocumentKind::kind>},
    TALVORO_DOCUMENTS(TALVORO_DOCUMENT_ROW)
#undef TALVORO_DOCUMENT_ROW
};

constexpr int kCount = static_cast<int>(sizeof kDocuments / sizeof kDocuments[0]);

constexpr bool InKindOrder() {
  for (int i = 0; i < kCount; ++i) {
    if (static_cast<int>(kDocuments[i].type.kind) != i) return false;
  }
  return true;
}
static_assert(InKindOrder(), "the rows follow DocumentKind");

}  // namespace

const Binding* FindBinding(DocumentKind kind) {
  const int index = static_cast<int>(kind);
  return index >= 0 && index < kCount ? &kDocuments[index].binding() : nullptr;
}

const DocumentType* DocumentTypeAt(int index) {
  return index >= 0 && index < kCount ? &kDocuments[index].type : nullptr;
}

}  // namespace talvoro

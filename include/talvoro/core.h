// The library's core words, which every interface beyond the exported class
// speaks: the document kinds, the reasons of a call and a call's outcome.
// Made from the lists of <talvoro/lists.h>; everything here crosses the
// library boundary as plain structs, enums, integers and C strings.
#ifndef TALVORO_CORE_H_
#define TALVORO_CORE_H_

#include "talvoro/export.h"
#include "talvoro/lists.h"

namespace talvoro {

// The documents, each by the member of CTinyXmlHelper that reads it
// (TALVORO_DOCUMENTS in <talvoro/lists.h>).
enum class DocumentKind : int {
#define TALVORO_KIND_ENUMERATOR(name, cname) name,
  TALVORO_DOCUMENT_KINDS(TALVORO_KIND_ENUMERATOR)
#undef TALVORO_KIND_ENUMERATOR
};

// A document kind as the library names it. The texts live as long as the
// library is loaded.
struct DocumentType {
  DocumentKind kind;
  const char* word;     // one word for a command line: "services", "zones"
  const char* name;     // for a person: "service list"
  const char* reader;   // the CTinyXmlHelper function that reads it: "GetServiceData"
  const char* writers;  // the others that write it, by a blank: "DeleteShutCutInfo ..."; or ""
  const char* example;  // its example document in the source tree's examples/: "services.xml"
};

// Every document kind in the order of DocumentKind: index 0 up to the last
// kind, then null.
TALVORO_API const DocumentType* DocumentTypeAt(int index);

// Why a call failed, with the words that name each reason (ReasonText); kOk
// when it did not fail.
enum class Reason : int {
#define TALVORO_REASON_ENUMERATOR(name, cname, text) name,
  TALVORO_REASONS(TALVORO_REASON_ENUMERATOR)
#undef TALVORO_REASON_ENUMERATOR
};

// What a reason is about: nothing (kOk), what the caller passed, reading the
// document, saving it, or the host's own callback. A program tells reading
// failures from saving ones by asking FamilyOf, never by comparing reasons:
// new reasons of any family are appended at the end of the list.
enum class ReasonFamily : int { kNone, kArgument, kReading, kSaving, kHost };

// The family of `reason` (TALVORO_REASON_FAMILIES); kNone for a value that
// names no reason.
constexpr ReasonFamily FamilyOf(Reason reason) {
  switch (reason) {
#define TALVORO_REASON_FAMILY_CASE(name, cname, family, cfamily) \
  case Reason::name:                                             \
    return ReasonFamily::family;
    TALVORO_REASON_FAMILIES(TALVORO_REASON_FAMILY_CASE)
#undef TALVORO_REASON_FAMILY_CASE
  }
  return ReasonFamily::kNone;
}

// The reason of one call, for a person.
struct Outcome {
  Reason reason;
  int line;          // 1-based; 0 when no place is known
  int column;        // 1-based; 0 when not known
  int changed;       // writers: the elements written, updated or removed
  char detail[256];  // the system's or TinyXML's words, "" when the reason says it all
};

// The reason as a few words ("missing"); "unknown reason" for a value that
// names none. The texts are English: a program that shows them in another
// language translates by value.
TALVORO_API const char* ReasonText(Reason reason);

}  // namespace talvoro

#endif  // TALVORO_CORE_H_

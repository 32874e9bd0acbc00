// Why: the reasons behind the library's true and false, for the person who
// wrote a document and for the tools that help them.
//
// Diagnose() reads a document exactly as the library's reader of its kind
// does, changes no file, and tells why the reader would refuse it (with the
// line and column where that is known) and, one finding at a time, what the
// reader would change silently: text cut to its field, numbers narrowed or
// saturated, attributes spelt in another case, elements passed over. The
// writers below do what the CTinyXmlHelper writers of the same documents do
// and say why they failed. Everything here crosses the library boundary as
// plain structs, enums, integers and C strings.
#ifndef TALVORO_DIAGNOSE_H_
#define TALVORO_DIAGNOSE_H_

#include "talvoro/elements.h"
#include "talvoro/export.h"
#include "talvoro/lists.h"

namespace talvoro {

// The documents, by the reader that reads them (<talvoro/lists.h>).
enum class DocumentKind : int {
#define TALVORO_KIND_ENUMERATOR(name, cname) name,
  TALVORO_DOCUMENT_KINDS(TALVORO_KIND_ENUMERATOR)
#undef TALVORO_KIND_ENUMERATOR
};

// A document kind as the library names it. The texts live as long as the
// library is loaded.
struct DocumentType {
  DocumentKind kind;
  const char* word;     // one word for a command line: "services", "server-services"
  const char* name;     // for a person: "service list"
  const char* reader;   // the CTinyXmlHelper function that reads it: "GetServiceData"
  const char* writers;  // the others that write it, by a blank: "DeleteShutCutInfo ..."; or ""
  const char* example;  // its example document in the source tree's examples/: "services.xml"
};

// Every document kind in the order of DocumentKind: index 0 up to the last
// kind, then null.
TALVORO_API const DocumentType* DocumentTypeAt(int index);

// Why a call failed, with the words that name each reason (ReasonText); kOk
// when it did not fail. Made from the list in <talvoro/lists.h>.
enum class Reason : int {
#define TALVORO_REASON_ENUMERATOR(name, cname, text) name,
  TALVORO_REASONS(TALVORO_REASON_ENUMERATOR)
#undef TALVORO_REASON_ENUMERATOR
};

// The reason of one call, for a person.
struct Outcome {
  Reason reason;
  int line;          // 1-based; 0 when no place is known
  int column;        // 1-based; 0 when not known
  int changed;       // writers: the elements written, updated or removed
  char detail[256];  // the system's or TinyXML's words, "" when the reason says it all
};

// What a reader changes silently, with the words of each kind (FindingText).
// Made from the list in <talvoro/lists.h>.
enum class FindingKind : int {
#define TALVORO_FINDING_ENUMERATOR(name, cname, text) name,
  TALVORO_FINDINGS(TALVORO_FINDING_ENUMERATOR)
#undef TALVORO_FINDING_ENUMERATOR
};

struct Finding {
  FindingKind kind;
  int line;               // of the element concerned, 1-based
  int column;             // where the element's start tag begins, 1-based
  const char* element;    // its name
  const char* attribute;  // the attribute or value concerned ("" for an element)
  const char* written;    // the text as written (kNameCase: the attribute's own spelling)
  const char* stored;     // the value as stored, as text ("" when nothing is stored)
  int width;  // kTextCut, kCutInCharacter: the field's width in bytes; numbers: its width
              // in bits; kNotText: where the bytes begin, from 1
  int lost;   // kTextCut: the bytes cut off; kCutInCharacter: the bytes of the character
              // kept; kNotText: the bytes of the run, as TinyXML reads them
};

// Receives each finding, in document order; the texts last as long as the call.
using FindingCallback = void (*)(const Finding* finding, void* context);

// Reads `path` as a document of `kind`, as its reader would, into containers
// of its own. Returns the reason the reader would refuse it (kOk when it
// reads), fills `outcome` when not null, and hands every finding to
// `callback` when not null.
TALVORO_API Reason Diagnose(DocumentKind kind, const char* path, Outcome* outcome,
                            FindingCallback callback, void* context);

// The encoding that TinyXML reads the document at `path` in: "UTF-8" when
// its text begins with UTF-8's byte-order mark; otherwise what its first
// declaration's "encoding" names, as written ("GBK", "utf-8"); otherwise ""
// (TinyXML then takes the text byte by byte; the findings take it for
// UTF-8). Copied into `name`, `size` bytes: cut to fit, then a zero byte.
// Returns the reason the document does not load, kOk when it loads.
TALVORO_API Reason DeclaredEncoding(const char* path, char* name, int size);

// A character set that an encoding names, as the diagnosis tells characters
// apart in a document's text: glibc's iconv on POSIX systems, the code pages
// of Windows; "" and the names TinyXML reads as UTF-8 are UTF-8. For programs
// that show a document's text to a person: the library converts nothing.
// One set serves one thread at a time.
struct CharacterSet;
// Null when the system does not know the set; CloseCharacterSet releases it.
TALVORO_API CharacterSet* OpenCharacterSet(const char* encoding);
TALVORO_API void CloseCharacterSet(CharacterSet* set);
// The character at the start of the `size` bytes at `text`: its length in
// bytes, with its Unicode code point in *code when `code` is not null; 0 when
// no character of the set begins there (or `size` is not positive).
TALVORO_API int NextCharacter(CharacterSet* set, const char* text, int size, unsigned* code);

// The reason or finding kind as a few words ("missing", "text cut").
TALVORO_API const char* ReasonText(Reason reason);
TALVORO_API const char* FindingText(FindingKind kind);

// The writers, each as its CTinyXmlHelper counterpart, with the outcome:
// SetSoftVersion (`changed`: the components updated), DeleteShutCutInfo
// (`changed`: 1 when an item was removed), WrittingShutCutInfo and
// WrittingUpdateFile (`changed`: the items written, from `count` records).
TALVORO_API bool SetSoftVersion(const tagSoftData& soft, const char* path, Outcome* outcome);
TALVORO_API bool DeleteShortcut(const char* path, const tagShortCutInfo& shortcut,
                                Outcome* outcome);
TALVORO_API bool WriteShortcuts(const char* path, const tagShortCutInfo* shortcuts, int count,
                                Outcome* outcome);
TALVORO_API bool WriteUpdates(const char* path, const tagUpdateData* updates, int count,
                              Outcome* outcome);

}  // namespace talvoro

#endif  // TALVORO_DIAGNOSE_H_

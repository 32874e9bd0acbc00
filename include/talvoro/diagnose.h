// Why: the reasons behind the library's true and false, for the person who
// wrote a document and for the tools that help them.
//
// Diagnose() reads a document exactly as the library's reader of its kind
// does, changes no file, and tells why the reader would refuse it (with the
// line and column where that is known) and, one finding at a time, what the
// reader would change silently: text cut to its field, numbers narrowed or
// saturated, attributes spelt in another case, elements passed over, bytes
// that are no text in the document's encoding. Everything here crosses the
// library boundary as plain structs, enums, integers and C strings.
#ifndef TALVORO_DIAGNOSE_H_
#define TALVORO_DIAGNOSE_H_

#include "talvoro/core.h"
#include "talvoro/export.h"
#include "talvoro/lists.h"
// The writers with their outcomes, which this header declared before.
#include "talvoro/writers.h"

namespace talvoro {

// What a reader changes silently, with the words of each kind (FindingText).
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
// reads; kInvalidArgument for a null path or a kind that names none), fills
// `outcome` when not null, and hands every finding to `callback` when not
// null.
TALVORO_API Reason Diagnose(DocumentKind kind, const char* path, Outcome* outcome,
                            FindingCallback callback, void* context);

// The encoding that TinyXML reads the document at `path` in: "UTF-8" when
// its text begins with UTF-8's byte-order mark; otherwise what its first
// declaration's "encoding" names, as written ("GBK", "utf-8"); otherwise ""
// (TinyXML then takes the text byte by byte; the findings take it for
// UTF-8). Copied into `name`, `size` bytes: cut to fit, then a zero byte.
// Returns the reason the document does not load, kOk when it loads;
// kInvalidArgument for a null path, a size below 0, or a null `name` with a
// size above 0.
TALVORO_API Reason DeclaredEncoding(const char* path, char* name, int size);

// A character set that an encoding names, as the diagnosis tells characters
// apart in a document's text, and as browsers decode it (the WHATWG Encoding
// Standard's labels and decoders: "Shift_JIS" takes 0x5C for '\\', "GBK" is
// gb18030, "ISO-8859-1" is windows-1252): glibc's iconv on POSIX systems,
// the code pages of Windows, with the standard's corrections; "" and the
// names TinyXML reads as UTF-8 are UTF-8. For programs
// that show a document's text to a person: the library converts nothing.
// One set serves one thread at a time.
struct CharacterSet;
// Null when the system does not know the set; CloseCharacterSet releases it.
TALVORO_API CharacterSet* OpenCharacterSet(const char* encoding);
TALVORO_API void CloseCharacterSet(CharacterSet* set);
// The character at the start of the `size` bytes at `text`: its length in
// bytes, with its Unicode code point in *code when `code` is not null (the
// first, where the set makes a character of two); 0 when no character of the
// set begins there (or `size` is not positive).
TALVORO_API int NextCharacter(CharacterSet* set, const char* text, int size, unsigned* code);
// The same, with every code point of the character: codes[0], and codes[1]
// where the set makes one character of two (Big5-HKSCS's 0x88 0x62 is
// U+00CA U+0304); *count says how many, 0 when no character begins there.
TALVORO_API int DecodeCharacter(CharacterSet* set, const char* text, int size, unsigned codes[2],
                                int* count);

// The finding kind as a few words ("text cut"); "unknown reason" for a value
// that names none, as ReasonText says it.
TALVORO_API const char* FindingText(FindingKind kind);

}  // namespace talvoro

#endif  // TALVORO_DIAGNOSE_H_

// Characters in the set that a document declares, as TinyXML names it:
// where they begin, and whether bytes are text at all. The library converts nothing (its records
// keep a document's bytes); it only looks, to tell a writer's text from
// bytes that would read back as other characters, and to report a cut that
// leaves part of a character behind.
#ifndef TALVORO_XML_ENCODING_H_
#define TALVORO_XML_ENCODING_H_

#include <cstddef>
#include <memory>
#include <string>

#include "os/env.h"

namespace talvoro {

// Whether `name` (a declaration's encoding) is read as UTF-8 by TinyXML: ""
// and names that begin with "UTF-8" or "UTF8", in any case.
bool NamesUtf8(const char* name);

// UTF-8 as the standard has it: no overlong forms, no surrogates, nothing
// above U+10FFFF.
std::unique_ptr<Charset> Utf8Charset();

// The set a declaration's encoding names, as browsers read it (the WHATWG
// Encoding Standard): the label, without the ASCII white space around it
// and whatever its case, names one of the standard's encodings, whose
// decoder is the system's set of that encoding with the corrections it
// needs to decode as the standard does ("Shift_JIS": 0x5C is '\\' and 0x7E
// '~'; "GB2312" and "GBK": gb18030; "ISO-8859-1" and "US-ASCII":
// windows-1252; "EUC-KR": windows-949; Big5 with its characters of two code
// points). UTF-8 for the names TinyXML reads as UTF-8 and for the standard's
// UTF-8 labels. A label the standard does not know names the system's set of
// that name. Null when the system does not know the set.
std::unique_ptr<Charset> DeclaredCharset(Env& env, const char* name);

// The first of `size` bytes at `text` that begins no character of the set,
// or `size` when all are text in it.
std::size_t FirstNonText(Charset& charset, const char* text, std::size_t size);
inline bool IsText(Charset& charset, const std::string& text) {
  return FirstNonText(charset, text.data(), text.size()) == text.size();
}

}  // namespace talvoro

#endif  // TALVORO_XML_ENCODING_H_

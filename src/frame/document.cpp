#include "frame/document.h"

#include <string>

#include "frame/file_bytes.h"
#include "frame/nesting.h"

namespace talvoro {
namespace {

// What TinyXML's LoadFile does to the bytes before parsing: the text ends at
// the first zero byte, and CR LF and lone CR become LF.
void NormalizeLineBreaks(std::string& text) {
  const std::size_t end = text.find('\0');
  if (end != std::string::npos) text.resize(end);
  std::size_t out = 0;
  for (std::size_t in = 0; in < text.size(); ++in) {
    if (text[in] == '\r') {
      text[out++] = '\n';
      if (in + 1 < text.size() && text[in + 1] == '\n') ++in;
    } else {
      text[out++] = text[in];
    }
  }
  text.resize(out);
}

}  // namespace

TiXmlElement* Document::Load(const char* path) {
  std::string text;
  if (!ReadRegularFile(path, text)) return nullptr;
  NormalizeLineBreaks(text);
  if (text.empty()) return nullptr;
  const Shape shape = MeasureDocument(text.c_str(), {kMaxNesting, kMaxAttributes});
  if (shape.depth > kMaxNesting || shape.attributes > kMaxAttributes) return nullptr;
  // In UTF-8 text TinyXML steps over a lead byte's whole sequence, so a lead
  // byte just before the end carries it up to three bytes past the
  // terminator; there it must find zero bytes too.
  text.append(3, '\0');
  // A tab size of 0 turns off the row and column bookkeeping, which only
  // serves error messages.
  doc_.SetTabSize(0);
  doc_.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
  if (doc_.Error()) return nullptr;
  return doc_.FirstChildElement();
}

}  // namespace talvoro

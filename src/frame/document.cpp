#include "frame/document.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "frame/nesting.h"

namespace talvoro {
namespace {

// Bytes asked of the file at a time.
constexpr std::size_t kChunk = 64 * 1024;

// What TinyXML's LoadFile does to the bytes before parsing: CR LF and lone CR
// become LF.
void NormalizeLineBreaks(std::string& text) {
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

// The line and column of `where` in `text`, both from 1.
std::pair<int, int> PlaceOf(const std::string& text, const char* where) {
  int line = 1;
  const char* lineStart = text.c_str();
  for (const char* p = text.c_str(); p < where; ++p) {
    if (*p == '\n') {
      ++line;
      lineStart = p + 1;
    }
  }
  return {line, static_cast<int>(where - lineStart) + 1};
}

// TinyXML's error, when a UTF-8 lead byte took a quote or an angle bracket
// along on the way to it (the scan that found the lead byte reads as TinyXML
// does, up to where TinyXML gives up): said so, at the lead byte.
Status Swallowed(const Status& error, const std::string& text, const char* lead) {
  const std::pair<int, int> place = PlaceOf(text, lead);
  char byte[8];
  std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(*lead));
  const int length = TiXmlBase::utf8ByteTable[static_cast<unsigned char>(*lead)];
  std::string taken(lead + 1, ::strnlen(lead + 1, static_cast<std::size_t>(length - 1)));
  const char* what = taken.find_first_of("\"'") != std::string::npos
                         ? "the quote that would end a value"
                         : "an angle bracket of the markup";
  return Status(Reason::kMalformed, error.detail() + " Read as UTF-8, the lead byte " + byte +
                                        " takes the " + std::to_string(taken.size()) +
                                        " bytes after it as part of its character, " + what +
                                        " among them.")
      .At(place);
}

Status TooLarge(std::uint64_t bytes, bool atLeast) {
  return Status(Reason::kTooLarge, (atLeast ? "more than " : "") + std::to_string(bytes) +
                                       " bytes; the limit is " + std::to_string(kMaxDocumentBytes));
}

// The document's text: the file's bytes up to the first zero byte, where
// TinyXML's text ends. A file whose size is past the limit is refused before
// it is read; reading stops as soon as it passes the limit, for files whose
// size says nothing (pseudo-files) or that grow while they are read.
Status ReadText(Env& env, const char* path, std::string* text) {
  std::unique_ptr<ReadableFile> file;
  std::uint64_t size = 0;
  TALVORO_RETURN_IF_ERROR(env.OpenForReading(path, &file, &size));
  if (size > kMaxDocumentBytes) return TooLarge(size, false);
  text->clear();
  // Room for the whole file, the chunk that finds its end, and the zero
  // bytes the parse appends: a regular file's text is never moved.
  text->reserve(static_cast<std::size_t>(size) + kChunk + 4);
  for (;;) {
    const std::size_t start = text->size();
    const std::size_t room = static_cast<std::size_t>(kMaxDocumentBytes) + 1 - start;
    const std::size_t ask = room < kChunk ? room : kChunk;
    text->resize(start + ask);
    std::size_t got = 0;
    const Status status = file->Read(&(*text)[start], ask, &got);
    if (!status.ok()) return status;
    const void* zero = std::memchr(text->data() + start, '\0', got);
    if (zero) got = static_cast<std::size_t>(static_cast<const char*>(zero) - text->data()) - start;
    text->resize(start + got);
    if (text->size() > kMaxDocumentBytes) return TooLarge(kMaxDocumentBytes, true);
    if (zero || got == 0) return Status::Ok();
  }
}

}  // namespace

ChildElementRange<const TiXmlElement> Document::Children(const TiXmlElement& parent,
                                                         const char* name) const {
  if (observer_ && name) {
    for (const TiXmlElement& child : ChildElements(parent)) {
      if (std::strcmp(child.Value(), name) != 0)
        ObservePassedOver(*observer_, child, "not read: only elements of its name are");
    }
  }
  return ChildElements(parent, name);
}

ChildElementRange<const TiXmlElement> Document::LastLevel(const TiXmlElement& parent,
                                                          const char* name) const {
  if (observer_) {
    for (const TiXmlElement& element : Children(parent, name))
      NothingReadBelow(element);
  }
  return ChildElements(parent, name);
}

void Document::NothingReadBelow(const TiXmlElement& element) const {
  if (!observer_) return;
  for (const TiXmlElement& below : ChildElements(element))
    ObservePassedOver(*observer_, below, "below the last level read");
}

const TiXmlElement* Document::Entry(const TiXmlElement& parent, const char* name) const {
  const TiXmlElement* entry = parent.FirstChildElement(name);
  if (!entry && observer_) ObserveMissing(*observer_, parent, name);
  return entry;
}

Document::Loaded Document::Load(const char* path) {
  Loaded loaded;
  loaded.status = Read(path);
  if (loaded.status.ok()) loaded.root = doc_.FirstChildElement();
  return loaded;
}

Status Document::Read(const char* path) {
  if (!path) return Status(Reason::kMissing);
  try {
    std::string text;
    TALVORO_RETURN_IF_ERROR(ReadText(env_, path, &text));
    return Parse(text);
  } catch (const std::bad_alloc&) {
    doc_.Clear();
    return Status(Reason::kNoMemory);
  }
}

Status Document::Parse(std::string& text) {
  NormalizeLineBreaks(text);
  if (text.empty()) return Status(Reason::kEmpty);
  // The text's block, with room for the zero bytes appended below, is held
  // while TinyXML parses; the tree may take the rest of the budget.
  text.reserve(text.size() + 3);
  const std::uint64_t held = text.capacity() + 1 + kLoaderBytes;
  const Shape shape = MeasureDocument(
      text.c_str(),
      {kMaxNesting, kMaxAttributes, held < kMaxParseBytes ? kMaxParseBytes - held : 0});
  if (shape.depth > kMaxNesting) {
    return Status(Reason::kTooDeep, "the limit is " + std::to_string(kMaxNesting) + " levels")
        .At(PlaceOf(text, shape.where));
  }
  if (shape.attributes > kMaxAttributes) {
    return Status(Reason::kTooManyAttributes,
                  "the limit is " + std::to_string(kMaxAttributes) + " attributes")
        .At(PlaceOf(text, shape.where));
  }
  if (held + shape.treeBytes > kMaxParseBytes) {
    Status tooLarge(Reason::kTooLargeToParse, "parsing would take more than " +
                                                  std::to_string(kMaxParseBytes >> 20) +
                                                  " MiB: the text " + std::to_string(held >> 20) +
                                                  " MiB, its tree at least " +
                                                  std::to_string(shape.treeBytes >> 20) + " MiB");
    return shape.where ? tooLarge.At(PlaceOf(text, shape.where)) : tooLarge;
  }
  // TinyXML writes the byte-order mark back when the text began with one.
  byteOrderMark_ = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
  // In UTF-8 text TinyXML steps over a lead byte's whole sequence, so a lead
  // byte just before the end carries it up to three bytes past the
  // terminator; there it must find zero bytes too.
  const std::size_t swallowed =
      shape.swallowed ? static_cast<std::size_t>(shape.swallowed - text.c_str()) : text.size();
  text.append(3, '\0');
  // A tab size of 0 turns off the row and column bookkeeping, which only
  // serves the diagnosis (TinyXML's default is 4).
  const bool positions = observer_ || trackPositions_;
  doc_.SetTabSize(positions ? 4 : 0);
  doc_.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
  if (doc_.Error()) {
    if (doc_.ErrorId() == TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY) return Status(Reason::kEmpty);
    Status malformed(Reason::kMalformed, doc_.ErrorDesc());
    if (positions) malformed.At(doc_.ErrorRow(), doc_.ErrorCol());
    return swallowed < text.size() - 3 ? Swallowed(malformed, text, text.c_str() + swallowed)
                                       : malformed;
  }
  if (!doc_.FirstChildElement()) return Status(Reason::kNoElement);
  if (observer_) ObserveEncoding(*observer_, env_, doc_, Encoding());
  return Status::Ok();
}

std::string Document::Encoding() const {
  if (byteOrderMark_) return "UTF-8";
  for (const TiXmlNode* node = doc_.FirstChild(); node; node = node->NextSibling()) {
    if (const TiXmlDeclaration* declaration = node->ToDeclaration())
      return *declaration->Encoding() ? declaration->Encoding() : "UTF-8";
  }
  return "";
}

}  // namespace talvoro

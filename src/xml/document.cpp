#include "xml/document.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "os/save.h"
#include "xml/budget.h"
#include "xml/guard.h"
#include "xml/print.h"

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

}  // namespace

std::pair<int, int> PlaceOf(const char* text, const char* where) {
  int line = 1;
  const char* lineStart = text;
  for (const char* p = text; p < where; ++p) {
    if (*p == '\n') {
      ++line;
      lineStart = p + 1;
    }
  }
  return {line, static_cast<int>(where - lineStart) + 1};
}

namespace {

Status TooLarge(std::uint64_t bytes, bool atLeast) {
  return Status(Reason::kTooLarge, (atLeast ? "more than " : "") + std::to_string(bytes) +
                                       " bytes; the limit is " + std::to_string(kMaxDocumentBytes));
}

// Text in UTF-16 or UTF-32, which TinyXML reads as bytes up to the first zero
// one: its name, by its byte-order mark or, as XML's own detection has it, by
// the zero bytes around the first character; null for any other text.
const char* WideEncoding(const unsigned char* b, std::size_t n) {
  const auto at = [b, n](std::size_t i) { return i < n ? b[i] : 0x100u; };
  if (at(0) == 0 && at(1) == 0 && at(2) == 0xFE && at(3) == 0xFF)
    return "UTF-32BE (byte-order mark)";
  if (at(0) == 0xFF && at(1) == 0xFE && at(2) == 0 && at(3) == 0)
    return "UTF-32LE (byte-order mark)";
  if (at(0) == 0xFE && at(1) == 0xFF) return "UTF-16BE (byte-order mark)";
  if (at(0) == 0xFF && at(1) == 0xFE) return "UTF-16LE (byte-order mark)";
  if (at(0) == 0 && at(1) == 0 && at(2) == 0 && at(3) > 0 && at(3) < 0x80) return "UTF-32BE";
  if (at(0) > 0 && at(0) < 0x80 && at(1) == 0 && at(2) == 0 && at(3) == 0) return "UTF-32LE";
  // Two characters of ASCII, each with its zero byte (or one, and the end).
  const bool ascii1 = at(1) > 0 && at(1)<0x80, ascii0 = at(0)> 0 && at(0) < 0x80;
  if (at(0) == 0 && ascii1 && (n <= 2 || (at(2) == 0 && at(3) > 0 && at(3) < 0x80)))
    return "UTF-16BE";
  if (ascii0 && at(1) == 0 && (n <= 2 || (at(2) > 0 && at(2) < 0x80 && at(3) == 0)))
    return "UTF-16LE";
  return nullptr;
}

// The document's text: the file's bytes up to the first zero byte, where
// TinyXML's text ends; text in UTF-16 or UTF-32 refused, by its first bytes.
// A file whose size is past the limit is refused before it is read; reading
// stops as soon as it passes the limit, for files whose size says nothing
// (pseudo-files) or that grow while they are read.
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
    if (start == 0) {
      const char* wide = WideEncoding(reinterpret_cast<const unsigned char*>(text->data()), got);
      if (wide) return Status(Reason::kWideText, wide);
    }
    const void* zero = std::memchr(text->data() + start, '\0', got);
    if (zero) got = static_cast<std::size_t>(static_cast<const char*>(zero) - text->data()) - start;
    text->resize(start + got);
    if (text->size() > kMaxDocumentBytes) return TooLarge(kMaxDocumentBytes, true);
    if (zero || got == 0) return Status::Ok();
  }
}

}  // namespace

XmlDocument::Loaded XmlDocument::Load(const char* path) {
  Loaded loaded;
  loaded.status = Read(path);
  if (loaded.status.ok()) loaded.root = doc_.FirstChildElement();
  return loaded;
}

Status XmlDocument::Read(const char* path) {
  TALVORO_RETURN_IF_ERROR(CheckPath(path));
  try {
    std::string text;
    TALVORO_RETURN_IF_ERROR(ReadText(env_, path, &text));
    return Parse(text);
  } catch (const std::bad_alloc&) {
    doc_.Clear();
    return Status(Reason::kNoMemory);
  }
}

Status XmlDocument::Parse(std::string& text) {
  NormalizeLineBreaks(text);
  if (text.empty()) return Status(Reason::kEmpty);
  // The text's block, with room for the zero bytes appended below, is held
  // while TinyXML parses; the tree may take the rest of the budget.
  text.reserve(text.size() + 3);
  const std::uint64_t held = Block(text.capacity() + 1) + kLoaderBytes;
  const Shape shape = MeasureDocument(
      text.c_str(),
      {kMaxNesting, kMaxAttributes, held < kMaxParseBytes ? kMaxParseBytes - held : 0});
  if (shape.depth > kMaxNesting) {
    return Status(Reason::kTooDeep, "the limit is " + std::to_string(kMaxNesting) + " levels")
        .At(PlaceOf(text.c_str(), shape.where));
  }
  if (shape.attributes > kMaxAttributes) {
    return Status(Reason::kTooManyAttributes,
                  "the limit is " + std::to_string(kMaxAttributes) + " attributes")
        .At(PlaceOf(text.c_str(), shape.where));
  }
  estimate_ = held + shape.treeBytes;
  if (estimate_ > kMaxParseBytes) {
    Status tooLarge(Reason::kTooLargeToParse, "parsing would take more than " +
                                                  std::to_string(kMaxParseBytes >> 20) +
                                                  " MiB: the text " + std::to_string(held >> 20) +
                                                  " MiB, its tree at least " +
                                                  std::to_string(shape.treeBytes >> 20) + " MiB");
    return shape.where ? tooLarge.At(PlaceOf(text.c_str(), shape.where)) : tooLarge;
  }
  // TinyXML writes the byte-order mark back when the text began with one.
  byteOrderMark_ = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
  // In UTF-8 text TinyXML steps over a lead byte's whole sequence, so a lead
  // byte just before the end carries it up to three bytes past the
  // terminator; there it must find zero bytes too.
  text.append(3, '\0');
  // A tab size of 0 turns off the row and column bookkeeping, which only
  // serves the reasons (TinyXML's default is 4).
  doc_.SetTabSize(detail_.placeElements ? 4 : 0);
  doc_.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
  if (doc_.Error()) {
    if (doc_.ErrorId() == TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY) return Status(Reason::kEmpty);
    const bool placed = detail_.placeElements || detail_.placeRefusals;
    if (detail_.placeRefusals && !detail_.placeElements) {
      // The same error once more, now with its place.
      doc_.Clear();
      doc_.ClearError();
      doc_.SetTabSize(4);
      doc_.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    }
    Status malformed(Reason::kMalformed, doc_.ErrorDesc());
    if (placed) malformed.At(doc_.ErrorRow(), doc_.ErrorCol());
    return detail_.explainMalformed ? detail_.explainMalformed(malformed, text.c_str()) : malformed;
  }
  if (!doc_.FirstChildElement()) return Status(Reason::kNoElement);
  return Status::Ok();
}

std::string XmlDocument::Encoding() const {
  if (byteOrderMark_) return "UTF-8";
  for (const TiXmlNode* node = doc_.FirstChild(); node; node = node->NextSibling()) {
    if (const TiXmlDeclaration* declaration = node->ToDeclaration())
      return *declaration->Encoding() ? declaration->Encoding() : "UTF-8";
  }
  return "";
}

namespace {

// Text made only of white space, which reading drops and so never comes back.
bool DroppedOnReading(const TiXmlNode* node) {
  const TiXmlText* text = node->ToText();
  if (!text || text->CDATA()) return false;
  const std::string& value = text->ValueStr();
  return std::all_of(value.begin(), value.end(),
                     [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

const TiXmlNode* Kept(const TiXmlNode* node) {
  while (node && DroppedOnReading(node))
    node = node->NextSibling();
  return node;
}

// Two nodes say the same, apart from their children.
bool SameNode(const TiXmlNode& a, const TiXmlNode& b) {
  if (a.Type() != b.Type() || a.ValueStr() != b.ValueStr()) return false;
  if (const TiXmlDeclaration* da = a.ToDeclaration()) {
    const TiXmlDeclaration* db = b.ToDeclaration();
    return std::strcmp(da->Version(), db->Version()) == 0 &&
           std::strcmp(da->Encoding(), db->Encoding()) == 0 &&
           std::strcmp(da->Standalone(), db->Standalone()) == 0;
  }
  if (const TiXmlText* ta = a.ToText()) return ta->CDATA() == b.ToText()->CDATA();
  if (const TiXmlElement* ea = a.ToElement()) {
    const TiXmlAttribute* x = ea->FirstAttribute();
    const TiXmlAttribute* y = b.ToElement()->FirstAttribute();
    for (; x && y; x = x->Next(), y = y->Next()) {
      if (x->NameTStr() != y->NameTStr() || x->ValueStr() != y->ValueStr()) return false;
    }
    return !x && !y;
  }
  return true;
}

// Whether `read` (a document loaded from what `written` printed) holds the
// same nodes in the same order, white space that reading drops aside. Walks
// both trees side by side with an explicit stack, as deep as they go.
bool SameDocument(const TiXmlDocument& written, const TiXmlDocument& read) {
  std::vector<std::pair<const TiXmlNode*, const TiXmlNode*>> pending{{&written, &read}};
  while (!pending.empty()) {
    const auto [a, b] = pending.back();
    pending.pop_back();
    const TiXmlNode* x = Kept(a->FirstChild());
    const TiXmlNode* y = Kept(b->FirstChild());
    for (; x && y; x = Kept(x->NextSibling()), y = Kept(y->NextSibling())) {
      if (!SameNode(*x, *y)) return false;
      pending.emplace_back(x, y);
    }
    if (x || y) return false;
  }
  return true;
}

}  // namespace

Status XmlDocument::Save(const char* path) const {
  try {
    return ReplaceFile(env_, path, [this](std::string* text) {
      PrintDocument(doc_, byteOrderMark_, text);
      // TinyXML does not always read back what it prints: in a UTF-8 document
      // a value whose bytes are not UTF-8 (a lead byte at its end, say)
      // swallows its closing quote, and a declaration printed anew can change
      // how the rest is read. A text that does not load back as this very
      // document never replaces the target.
      std::string copy = *text;
      XmlDocument printed(env_);
      if (!printed.Parse(copy).ok() || !SameDocument(doc_, printed.doc_))
        return Status(Reason::kNotReadBack);
      return Status::Ok();
    });
  } catch (const std::bad_alloc&) {
    return Status(Reason::kNoMemory);
  }
}

}  // namespace talvoro

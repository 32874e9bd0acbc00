#include "diagnose/findings.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "read/fields.h"
#include "xml/encoding.h"

namespace talvoro {
namespace {

Finding About(FindingKind kind, const TiXmlNode& element, const char* what) {
  Finding finding{};
  finding.kind = kind;
  finding.line = element.Row();
  finding.column = element.Column();
  finding.element = element.Value();
  finding.attribute = what;
  finding.written = "";
  finding.stored = "";
  return finding;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (Lower(*a) != Lower(*b)) return false;
  }
  return *a == *b;
}

// Where a cut after `kept` bytes leaves the start of a character behind:
// how many of its bytes; 0 when it cuts between characters.
std::size_t PartKept(Charset& charset, const char* written, std::size_t length, std::size_t kept) {
  for (std::size_t at = 0; at < kept;) {
    const std::size_t size = charset.Next(written + at, length - at).length;
    if (size && at + size > kept) return kept - at;
    at += size ? size : 1;
  }
  return 0;
}

}  // namespace

// An absent attribute that is there in another case: reported, and true.
bool Findings::NameCase(const TiXmlElement& element, const char* name) {
  for (const TiXmlAttribute* a = element.FirstAttribute(); a; a = a->Next()) {
    if (SameIgnoringCase(a->Name(), name)) {
      Finding finding = About(FindingKind::kNameCase, element, name);
      finding.written = a->Name();
      Report(finding);
      return true;
    }
  }
  return false;
}

// The bytes TinyXML takes as one character at `text`.
std::size_t Findings::TakenAsOne(const char* text, std::size_t size) const {
  if (!tinyXmlUtf8_) return 1;
  const int length = TiXmlBase::utf8ByteTable[static_cast<unsigned char>(*text)];
  return length <= 1 ? 1 : std::min<std::size_t>(static_cast<std::size_t>(length), size);
}

// Each run of bytes in `written` that begins no character of the document's
// set, the run as long as TinyXML's reading of it goes.
void Findings::Characters(const TiXmlElement& element, const char* what, const char* written,
                          std::size_t length) {
  Charset& charset = *charset_;
  for (std::size_t at = 0; at < length;) {
    const std::size_t size = charset.Next(written + at, length - at).length;
    if (size) {
      at += size;
      continue;
    }
    const std::size_t start = at;
    do {
      at += TakenAsOne(written + at, length - at);
    } while (at < length && !charset.Next(written + at, length - at).length);
    Finding finding = About(FindingKind::kNotText, element, what);
    finding.written = written;
    finding.stored = written;
    finding.width = static_cast<int>(start + 1);
    finding.lost = static_cast<int>(at - start);
    Report(finding);
  }
}

void Findings::Text(const TiXmlElement& element, const char* what, const char* written,
                    std::size_t width) {
  if (!written) {
    NameCase(element, what);
    return;
  }
  const std::size_t length = std::strlen(written);
  if (charset_) Characters(element, what, written, length);
  if (length < width) return;
  const std::string stored(written, width - 1);
  Finding finding = About(FindingKind::kTextCut, element, what);
  finding.written = written;
  finding.stored = stored.c_str();
  finding.width = static_cast<int>(width);
  finding.lost = static_cast<int>(length - (width - 1));
  Report(finding);
  const std::size_t part = charset_ ? PartKept(*charset_, written, length, width - 1) : 0;
  if (part) {
    finding.kind = FindingKind::kCutInCharacter;
    finding.lost = static_cast<int>(part);
    Report(finding);
  }
}

void Findings::Number(const TiXmlElement& element, const char* what, const char* written,
                      NumberField field) {
  if (!written) {
    if (NameCase(element, what)) return;
    Finding finding = About(FindingKind::kNumberAbsent, element, what);
    finding.stored = "0";
    finding.width = field == NumberField::k32 ? 32 : 16;
    Report(finding);
    return;
  }
  const DecimalReading reading = ReadDecimal(written);
  std::int32_t stored = reading.value;
  if (field == NumberField::k16) stored = Low16(stored);
  if (field == NumberField::k16ZeroExtended) stored = Low16ZeroExtended(stored);
  const std::string storedText = std::to_string(stored);
  Finding finding = About(FindingKind::kNarrowed, element, what);
  finding.written = written;
  finding.stored = storedText.c_str();
  finding.width = field == NumberField::k32 ? 32 : 16;
  if (!reading.digits) {
    finding.kind = FindingKind::kNotANumber;
  } else if (reading.saturated) {
    finding.kind = FindingKind::kSaturated;
  } else if (stored != reading.value) {
    finding.kind = FindingKind::kNarrowed;
  } else if (*reading.rest) {
    finding.kind = FindingKind::kTrailingText;
  } else {
    return;
  }
  Report(finding);
}

void Findings::Missing(const TiXmlElement& parent, const char* name) {
  Report(About(FindingKind::kEntryMissing, parent, name));
}

void Findings::PassedOver(const TiXmlElement& element, const char* why) {
  Finding finding = About(FindingKind::kPassedOver, element, "");
  finding.written = why;
  Report(finding);
}

void Findings::Loaded(const XmlDocument& loaded) {
  const std::string encoding = loaded.Encoding();
  tinyXmlUtf8_ = !encoding.empty() && NamesUtf8(encoding.c_str());
  charset_ = DeclaredCharset(loaded.env(), encoding.c_str());
  if (charset_) return;
  const TiXmlDocument& doc = loaded.Xml();
  const TiXmlNode* declaration = doc.FirstChild();
  while (declaration && !declaration->ToDeclaration())
    declaration = declaration->NextSibling();
  Finding finding =
      About(FindingKind::kUnknownEncoding, declaration ? *declaration : doc, "encoding");
  finding.written = encoding.c_str();
  Report(finding);
}

void Findings::Report(const Finding& finding) {
  kept_.push_back({finding, finding.element, finding.attribute, finding.written, finding.stored});
}

void Findings::HandOut(FindingCallback callback, void* context) {
  std::stable_sort(kept_.begin(), kept_.end(), [](const Kept& a, const Kept& b) {
    return a.finding.line != b.finding.line ? a.finding.line < b.finding.line
                                            : a.finding.column < b.finding.column;
  });
  for (Kept& kept : kept_) {
    Finding finding = kept.finding;
    finding.element = kept.element.c_str();
    finding.attribute = kept.attribute.c_str();
    finding.written = kept.written.c_str();
    finding.stored = kept.stored.c_str();
    callback(&finding, context);
  }
}

}  // namespace talvoro

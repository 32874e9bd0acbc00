#include "diagnose/swallowed.h"

#include <cstdio>
#include <cstring>
#include <string>

#include <tinyxml.h>

#include "xml/document.h"
#include "xml/scan.h"

namespace talvoro {
namespace {

// Keeps the first lead byte that swallowed a quote or an angle bracket.
class FirstSwallowed {
 public:
  bool Element(const char*, int) { return true; }
  bool Attribute(const char*, int) { return true; }
  void Node(XmlNode) {}
  void String(std::size_t, bool) {}
  void Swallowed(const char* lead) {
    if (!lead_) lead_ = lead;
  }
  const char* lead() const { return lead_; }

 private:
  const char* lead_ = nullptr;
};

}  // namespace

Status ExplainMalformed(const Status& error, const char* text) {
  FirstSwallowed finder;
  ScanDocument(text, finder);
  const char* lead = finder.lead();
  if (!lead) return error;
  char byte[8];
  std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(*lead));
  const int length = TiXmlBase::utf8ByteTable[static_cast<unsigned char>(*lead)];
  const std::string taken(lead + 1, ::strnlen(lead + 1, static_cast<std::size_t>(length - 1)));
  const char* what = taken.find_first_of("\"'") != std::string::npos
                         ? "the quote that would end a value"
                         : "an angle bracket of the markup";
  return Status(Reason::kMalformed, error.detail() + " Read as UTF-8, the lead byte " + byte +
                                        " takes the " + std::to_string(taken.size()) +
                                        " bytes after it as part of its character, " + what +
                                        " among them.")
      .At(PlaceOf(text, lead));
}

}  // namespace talvoro

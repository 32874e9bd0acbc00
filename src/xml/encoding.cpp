#include "xml/encoding.h"

#include <cstring>
#include <string>
#include <utility>
namespace talvoro {
namespace {

class Utf8 : public Charset {
 public:
  Character Next(const char* text, std::size_t size) override {
    const auto* u = reinterpret_cast<const unsigned char*>(text);
    if (u[0] < 0x80) return {1, u[0]};
    // The lead byte: how many bytes follow, and the smallest code point that
    // needs this many (anything less is an overlong form).
    std::size_t length;
    char32_t code, least;
    if (u[0] >= 0xC2 && u[0] <= 0xDF) {
      length = 2, code = u[0] & 0x1F, least = 0x80;
    } else if (u[0] >= 0xE0 && u[0] <= 0xEF) {
      length = 3, code = u[0] & 0x0F, least = 0x800;
    } else if (u[0] >= 0xF0 && u[0] <= 0xF4) {
      length = 4, code = u[0] & 0x07, least = 0x10000;
    } else {
      return {0, 0};
    }
    if (size < length) return {0, 0};
    for (std::size_t i = 1; i < length; ++i) {
      if ((u[i] & 0xC0) != 0x80) return {0, 0};
      code = code << 6 | (u[i] & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {0, 0};
    return {length, code};
  }
};

// x-user-defined: ASCII, and each byte above it a character of the private
// use area, U+F780 + (byte - 0x80).
class UserDefined : public Charset {
 public:
  Character Next(const char* text, std::size_t) override {
    const auto byte = static_cast<unsigned char>(*text);
    return {1, byte < 0x80 ? byte : 0xF780 + (byte - 0x80U)};
  }
};

// Characters that the standard decodes otherwise than the system's set does:
// their bytes, and the code point (kNone: no character).
constexpr char32_t kNone = 0xFFFFFFFF;
struct Override {
  const char* bytes;
  char32_t code;
};

// The system's set with the standard's overrides on top. Where the standard
// decodes no byte sequence to the private use area, a set that does (Windows'
// code page 950 for the HKSCS characters it lacks) decodes no character there.
class Corrected : public Charset {
 public:
  Corrected(std::unique_ptr<Charset> base, const Override* overrides, bool privateUse)
      : base_(std::move(base)), overrides_(overrides), privateUse_(privateUse) {}
  Character Next(const char* text, std::size_t size) override {
    for (const Override* o = overrides_; o->bytes; ++o) {
      const std::size_t length = std::strlen(o->bytes);
      if (length <= size && std::memcmp(text, o->bytes, length) == 0)
        return o->code == kNone ? Character{0, 0} : Character{length, o->code};
    }
    const Character c = base_->Next(text, size);
    if (!privateUse_ && c.code >= 0xE000 && c.code <= 0xF8FF) return {0, 0};
    return c;
  }

 private:
  std::unique_ptr<Charset> base_;
  const Override* overrides_;
  bool privateUse_;
};

// Where glibc's sets differ from the standard's decoders (tests/codecs
// compares them, byte pair by byte pair, with Python's codecs).
// windows-1252: the five bytes that code page 1252 leaves out are the C1
// controls of their value.
constexpr Override kWindows1252[] = {{"\x81", 0x81}, {"\x8D", 0x8D}, {"\x8F", 0x8F},
                                     {"\x90", 0x90}, {"\x9D", 0x9D}, {nullptr, 0}};
// gb18030: 0x80 is the euro sign; six characters that GB18030 keeps in the
// private use area in their two-byte form; the four-byte forms of the 18
// characters that GB18030-2022 moved out of it.
constexpr Override kGb18030[] = {{"\x80", 0x20AC},
                                 {"\xFE\x51", 0xE816},
                                 {"\xFE\x52", 0xE817},
                                 {"\xFE\x53", 0xE818},
                                 {"\xFE\x6C", 0xE831},
                                 {"\xFE\x76", 0xE83B},
                                 {"\xFE\x91", 0xE855},
                                 {"\x82\x35\x90\x37", 0x9FB4},
                                 {"\x82\x35\x90\x38", 0x9FB5},
                                 {"\x82\x35\x90\x39", 0x9FB6},
                                 {"\x82\x35\x91\x30", 0x9FB7},
                                 {"\x82\x35\x91\x31", 0x9FB8},
                                 {"\x82\x35\x91\x32", 0x9FB9},
                                 {"\x82\x35\x91\x33", 0x9FBA},
                                 {"\x82\x35\x91\x34", 0x9FBB},
                                 {"\x84\x31\x82\x36", 0xFE10},
                                 {"\x84\x31\x82\x37", 0xFE11},
                                 {"\x84\x31\x82\x38", 0xFE12},
                                 {"\x84\x31\x82\x39", 0xFE13},
                                 {"\x84\x31\x83\x30", 0xFE14},
                                 {"\x84\x31\x83\x31", 0xFE15},
                                 {"\x84\x31\x83\x32", 0xFE16},
                                 {"\x84\x31\x83\x33", 0xFE17},
                                 {"\x84\x31\x83\x34", 0xFE18},
                                 {"\x84\x31\x83\x35", 0xFE19},
                                 {nullptr, 0}};
// Big5: 0x80 is no character; seven characters of Big5 that glibc's
// Big5-HKSCS leaves out.
constexpr Override kBig5[] = {{"\x80", kNone},      {"\xA1\x5A", 0x2574}, {"\xA1\xC3", 0xFFE3},
                              {"\xA1\xC5", 0x02CD}, {"\xA1\xFE", 0xFF0F}, {"\xA2\x40", 0xFF3C},
                              {"\xA2\xCC", 0x5341}, {"\xA2\xCE", 0x5345}, {nullptr, 0}};
// Shift_JIS: 0x80 is U+0080; 0xA0 and 0xFD to 0xFF are no character.
constexpr Override kShiftJis[] = {{"\x80", 0x80},  {"\xA0", kNone}, {"\xFD", kNone},
                                  {"\xFE", kNone}, {"\xFF", kNone}, {nullptr, 0}};
// KOI8-U: the standard's is KOI8-RU, with U+045E and U+040E in place of two
// box-drawing characters.
constexpr Override kKoi8U[] = {{"\xAE", 0x045E}, {"\xBE", 0x040E}, {nullptr, 0}};

// The standard's encodings: the labels that name each (by a blank, in lower
// case), the system's set that decodes it (nullptr: UTF-8 or x-user-defined,
// decoded here), and the overrides it needs.
struct Encoding {
  const char* labels;
  const char* system;
  const Override* overrides;
};
constexpr Encoding kEncodings[] = {
    {"unicode-1-1-utf-8 unicode11utf8 unicode20utf8 utf-8 utf8 x-unicode20utf8", nullptr, nullptr},
    {"866 cp866 csibm866 ibm866", "IBM866", nullptr},
    {"csisolatin2 iso-8859-2 iso-ir-101 iso8859-2 iso88592 iso_8859-2 iso_8859-2:1987 l2 latin2",
     "ISO-8859-2", nullptr},
    {"csisolatin3 iso-8859-3 iso-ir-109 iso8859-3 iso88593 iso_8859-3 iso_8859-3:1988 l3 latin3",
     "ISO-8859-3", nullptr},
    {"csisolatin4 iso-8859-4 iso-ir-110 iso8859-4 iso88594 iso_8859-4 iso_8859-4:1988 l4 latin4",
     "ISO-8859-4", nullptr},
    {"csisolatincyrillic cyrillic iso-8859-5 iso-ir-144 iso8859-5 iso88595 iso_8859-5 "
     "iso_8859-5:1988",
     "ISO-8859-5", nullptr},
    {"arabic asmo-708 csiso88596e csiso88596i csisolatinarabic ecma-114 iso-8859-6 iso-8859-6-e "
     "iso-8859-6-i iso-ir-127 iso8859-6 iso88596 iso_8859-6 iso_8859-6:1987",
     "ISO-8859-6", nullptr},
    {"csisolatingreek ecma-118 elot_928 greek greek8 iso-8859-7 iso-ir-126 iso8859-7 iso88597 "
     "iso_8859-7 iso_8859-7:1987 sun_eu_greek",
     "ISO-8859-7", nullptr},
    {"csiso88598e csisolatinhebrew hebrew iso-8859-8 iso-8859-8-e iso-ir-138 iso8859-8 iso88598 "
     "iso_8859-8 iso_8859-8:1988 visual csiso88598i iso-8859-8-i logical",
     "ISO-8859-8", nullptr},
    {"csisolatin6 iso-8859-10 iso-ir-157 iso8859-10 iso885910 l6 latin6", "ISO-8859-10", nullptr},
    {"iso-8859-13 iso8859-13 iso885913", "ISO-8859-13", nullptr},
    {"iso-8859-14 iso8859-14 iso885914", "ISO-8859-14", nullptr},
    {"csisolatin9 iso-8859-15 iso8859-15 iso885915 iso_8859-15 l9", "ISO-8859-15", nullptr},
    {"iso-8859-16", "ISO-8859-16", nullptr},
    {"cskoi8r koi koi8 koi8-r koi8_r", "KOI8-R", nullptr},
    {"koi8-ru koi8-u", "KOI8-U", kKoi8U},
    {"csmacintosh mac macintosh x-mac-roman", "MACINTOSH", nullptr},
    {"dos-874 iso-8859-11 iso8859-11 iso885911 tis-620 windows-874", "WINDOWS-874", nullptr},
    {"cp1250 windows-1250 x-cp1250", "windows-1250", nullptr},
    {"cp1251 windows-1251 x-cp1251", "windows-1251", nullptr},
    {"ansi_x3.4-1968 ascii cp1252 cp819 csisolatin1 ibm819 iso-8859-1 iso-ir-100 iso8859-1 "
     "iso88591 iso_8859-1 iso_8859-1:1987 l1 latin1 us-ascii windows-1252 x-cp1252",
     "windows-1252", kWindows1252},
    {"cp1253 windows-1253 x-cp1253", "windows-1253", nullptr},
    {"cp1254 csisolatin5 iso-8859-9 iso-ir-148 iso8859-9 iso88599 iso_8859-9 iso_8859-9:1989 l5 "
     "latin5 windows-1254 x-cp1254",
     "windows-1254", nullptr},
    {"cp1255 windows-1255 x-cp1255", "windows-1255", nullptr},
    {"cp1256 windows-1256 x-cp1256", "windows-1256", nullptr},
    {"cp1257 windows-1257 x-cp1257", "windows-1257", nullptr},
    {"cp1258 windows-1258 x-cp1258", "windows-1258", nullptr},
    {"x-mac-cyrillic x-mac-ukrainian", "MAC-CYRILLIC", nullptr},
    {"chinese csgb2312 csiso58gb231280 gb2312 gb_2312 gb_2312-80 gbk iso-ir-58 x-gbk gb18030",
     "GB18030", kGb18030},
    {"big5 big5-hkscs cn-big5 csbig5 x-x-big5", "BIG5-HKSCS", kBig5},
    {"cseucpkdfmtjapanese euc-jp x-euc-jp", "EUC-JP", nullptr},
    {"csshiftjis ms932 ms_kanji shift-jis shift_jis sjis windows-31j x-sjis", "CP932", kShiftJis},
    {"cseuckr csksc56011987 euc-kr iso-ir-149 korean ks_c_5601-1987 ks_c_5601-1989 ksc5601 "
     "ksc_5601 windows-949",
     "CP949", nullptr},
    {"x-user-defined", nullptr, nullptr},
};

// The encoding that `name` labels, as the standard matches labels; null for
// a label it does not know.
const Encoding* Labelled(const char* name) {
  std::string label = name;
  const char* blanks = "\t\n\f\r ";
  label.erase(0, label.find_first_not_of(blanks));
  label.erase(label.find_last_not_of(blanks) + 1);
  for (char& c : label)
    c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  if (label.empty() || label.find(' ') != std::string::npos) return nullptr;
  for (const Encoding& encoding : kEncodings) {
    const std::string labels = std::string(" ") + encoding.labels + " ";
    if (labels.find(" " + label + " ") != std::string::npos) return &encoding;
  }
  return nullptr;
}

}  // namespace

bool NamesUtf8(const char* name) {
  // TinyXML compares a prefix, ignoring case.
  const auto begins = [name](const char* with) {
    for (std::size_t i = 0; with[i]; ++i) {
      const char c = name[i];
      if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != with[i]) return false;
    }
    return true;
  };
  return !*name || begins("UTF-8") || begins("UTF8");
}

std::unique_ptr<Charset> Utf8Charset() {
  return std::unique_ptr<Charset>(new Utf8());
}

std::unique_ptr<Charset> DeclaredCharset(Env& env, const char* name) {
  if (NamesUtf8(name)) return Utf8Charset();
  const Encoding* encoding = Labelled(name);
  if (!encoding) return env.OpenCharset(name);
  if (!encoding->system) {
    if (std::strcmp(encoding->labels, "x-user-defined") == 0)
      return std::unique_ptr<Charset>(new UserDefined());
    return Utf8Charset();
  }
  std::unique_ptr<Charset> system = env.OpenCharset(encoding->system);
  if (!system || !encoding->overrides) return system;
  return std::unique_ptr<Charset>(
      new Corrected(std::move(system), encoding->overrides, encoding->overrides != kBig5));
}

std::size_t FirstNonText(Charset& charset, const char* text, std::size_t size) {
  std::size_t at = 0;
  while (at < size) {
    const std::size_t length = charset.Next(text + at, size - at).length;
    if (!length) break;
    at += length;
  }
  return at;
}

}  // namespace talvoro

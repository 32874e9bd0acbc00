#include "text.h"

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace inspector {

Decoder::Decoder(const std::string& encoding)
    : encoding_(encoding.empty() ? "UTF-8" : encoding),
      ascii_(encoding == "ASCII" || encoding == "ANSI_X3.4-1968"),
      set_(ascii_ ? nullptr : talvoro::OpenCharacterSet(encoding.c_str())) {}

Decoder Decoder::For(const std::string& path) {
  char name[128] = "";
  talvoro::DeclaredEncoding(path.c_str(), name, sizeof name);
  return Decoder(name);
}

const Decoder& Decoder::Terminal() {
  static const Decoder terminal(TerminalEncoding());
  return terminal;
}

int Decoder::Character(const std::string& bytes, std::size_t at, unsigned* code) const {
  if (at >= bytes.size()) return 0;
  const int left = static_cast<int>(bytes.size() - at);
  if (set_) return talvoro::NextCharacter(set_.get(), bytes.data() + at, left, code);
  const auto byte = static_cast<unsigned char>(bytes[at]);
  if (byte >= 0x80) return 0;
  *code = byte;
  return 1;
}

Decoded Decoder::Decode(const std::string& bytes) const {
  Decoded text;
  text.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    unsigned codes[2] = {};
    int count = 0, length = 0;
    if (set_) {
      length = talvoro::DecodeCharacter(set_.get(), bytes.data() + at,
                                        static_cast<int>(bytes.size() - at), codes, &count);
    } else if (static_cast<unsigned char>(bytes[at]) < 0x80) {
      codes[0] = static_cast<unsigned char>(bytes[at]);
      length = count = 1;
    }
    if (length <= 0) {
      text += kByte + static_cast<unsigned char>(bytes[at]);
      ++at;
      continue;
    }
    for (int i = 0; i < count; ++i)
      text += static_cast<char32_t>(codes[i]);
    at += static_cast<std::size_t>(length);
  }
  return text;
}

void Decoder::Decode(nlohmann::ordered_json& value) const {
  if (value.is_array()) {
    for (auto& item : value)
      Decode(item);
    return;
  }
  if (!value.is_object()) {
    if (value.is_string()) value = JsonText(Decode(value.get<std::string>()));
    return;
  }
  nlohmann::ordered_json decoded = nlohmann::ordered_json::object();
  for (auto& item : value.items()) {
    if (item.value().is_string()) {
      const std::string bytes = item.value().get<std::string>();
      SetJsonText(decoded, item.key(), Decode(bytes), bytes);
    } else {
      Decode(item.value());
      decoded[item.key()] = std::move(item.value());
    }
  }
  value = std::move(decoded);
}

void Decoder::Show(nlohmann::ordered_json& value) const {
  if (value.is_string()) {
    value = Shown(Decode(value.get<std::string>()));
  } else if (value.is_structured()) {
    for (auto& item : value)
      Show(item);
  }
}

std::string JsonText(const Decoded& text, bool* exact) {
  std::string utf8;
  bool all = true;
  for (const char32_t c : text) {
    if (c >= kByte) {
      char escape[12];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c - kByte));
      utf8 += escape;
      all = false;
    } else {
      utf8 += Utf8(c);
    }
  }
  if (exact) *exact = all;
  return utf8;
}

void SetJsonText(nlohmann::ordered_json& object, const std::string& name, const Decoded& text,
                 const std::string& bytes) {
  bool exact = true;
  object[name] = JsonText(text, &exact);
  if (!exact) object[name + ".bytes"] = Hex(bytes);
}

namespace {

bool Has(Target target, char32_t c) {
  return target == Target::kJson || TerminalHas(c);
}

// Whether the target shows the text as it is.
bool AsItIs(const Decoded& text, Target target) {
  if (text.size() >= 2 && text[0] == '$' && text[1] == '\'') return false;
  for (const char32_t c : text) {
    if (c >= kByte || !Has(target, c)) return false;
  }
  return true;
}

// The text in the shell's $'...' notation.
std::string Escaped(const Decoded& text, Target target) {
  std::string shown = "$'";
  for (const char32_t c : text) {
    char escape[12];
    if (c >= kByte) {
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c - kByte));
      shown += escape;
    } else if (c == '\\' || c == '\'') {
      shown += '\\';
      shown += static_cast<char>(c);
    } else if (Has(target, c)) {
      shown += Utf8(c);
    } else {
      std::snprintf(escape, sizeof escape, c < 0x10000 ? "\\u%04X" : "\\U%08X",
                    static_cast<unsigned>(c));
      shown += escape;
    }
  }
  return shown + "'";
}

}  // namespace

std::string Shown(const Decoded& text, Target target) {
  return AsItIs(text, target) ? JsonText(text) : Escaped(text, target);
}

std::string ShownQuoted(const Decoded& text, Target target) {
  return AsItIs(text, target) ? '"' + JsonText(text) + '"' : Escaped(text, target);
}

std::string ShownTyped(const std::string& bytes) {
  return Shown(Decoder::Terminal().Decode(bytes));
}

std::string Hex(const std::string& bytes, const char* separator) {
  std::string hex;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned char>(bytes[i]));
    hex += (i ? separator : "") + std::string(pair);
  }
  return hex;
}

std::string Utf8(unsigned code) {
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

namespace {

template <std::size_t N>
bool In(const unsigned (&ranges)[N][2], unsigned code) {
  for (const auto& range : ranges) {
    if (code >= range[0] && code <= range[1]) return true;
  }
  return false;
}

// Terminal columns of one code point: none for the combining marks (Big5-HKSCS
// decodes some characters to a letter and one), two for the East Asian wide
// and fullwidth ranges that tables meet in practice (Hangul Jamo, CJK and its
// punctuation, Hangul syllables, compatibility ideographs, fullwidth forms,
// and the ideographs beyond the first plane).
std::size_t Width(unsigned code) {
  static const unsigned kCombining[][2] = {
      {0x0300, 0x036F}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x20D0, 0x20FF}, {0xFE20, 0xFE2F}};
  static const unsigned kWide[][2] = {{0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF},
                                      {0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xA000, 0xA4CF},
                                      {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F},
                                      {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0x20000, 0x3FFFD}};
  return In(kCombining, code) ? 0 : In(kWide, code) ? 2 : 1;
}

}  // namespace

std::size_t Columns(const std::string& utf8) {
  std::size_t columns = 0;
  for (std::size_t at = 0; at < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    unsigned code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length && at + i < utf8.size(); ++i)
      code = code << 6 | (static_cast<unsigned char>(utf8[at + i]) & 0x3F);
    columns += Width(code);
    at += length;
  }
  return columns;
}

std::string LocaleVariablesEncoding() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (!value || !*value) continue;
    const std::string name = value;
    const std::size_t dot = name.find('.');
    if (dot == std::string::npos) break;
    const std::string codeset = name.substr(dot + 1, name.find('@', dot) - dot - 1);
    std::string lower;
    for (char c : codeset)
      lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lower == "utf-8" || lower == "utf8" ? "UTF-8" : codeset;
  }
  return "ANSI_X3.4-1968";
}

bool TerminalTakesUtf8() {
  const std::string encoding = TerminalEncoding();
  return encoding == "UTF-8" || encoding == "utf8";
}

}  // namespace inspector

#include "text.h"

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace inspector {

Decoder::Decoder(const std::string& encoding)
    : encoding_(encoding.empty() ? "UTF-8" : encoding),
      set_(talvoro::OpenCharacterSet(encoding.c_str())) {}

Decoder Decoder::For(const std::string& path) {
  char name[128] = "";
  talvoro::DeclaredEncoding(path.c_str(), name, sizeof name);
  return Decoder(name);
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

std::string Decoder::ToUtf8(const std::string& bytes, bool* exact) const {
  std::string text;
  text.reserve(bytes.size());
  bool all = true;
  for (std::size_t at = 0; at < bytes.size();) {
    unsigned code = 0;
    const int length = Character(bytes, at, &code);
    if (length > 0) {
      text += Utf8(code);
      at += static_cast<std::size_t>(length);
    } else {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(bytes[at]));
      text += escape;
      all = false;
      ++at;
    }
  }
  if (exact) *exact = all;
  return text;
}

void Decoder::Decode(nlohmann::ordered_json& value, bool keepBytes) const {
  if (value.is_array()) {
    for (auto& item : value)
      Decode(item, keepBytes);
    return;
  }
  if (!value.is_object()) {
    if (value.is_string()) value = ToUtf8(value.get<std::string>());
    return;
  }
  nlohmann::ordered_json decoded = nlohmann::ordered_json::object();
  for (auto& item : value.items()) {
    if (!item.value().is_string()) {
      Decode(item.value(), keepBytes);
      decoded[item.key()] = std::move(item.value());
      continue;
    }
    const std::string bytes = item.value().get<std::string>();
    bool exact = true;
    decoded[item.key()] = ToUtf8(bytes, &exact);
    if (keepBytes && !exact) decoded[item.key() + ".bytes"] = Hex(bytes);
  }
  value = std::move(decoded);
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

// The East Asian wide and fullwidth ranges that tables meet in practice:
// Hangul Jamo, CJK and its punctuation, Hangul syllables, compatibility
// ideographs, fullwidth forms, and the ideographs beyond the first plane.
bool Wide(unsigned code) {
  static const unsigned kRanges[][2] = {{0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF},
                                        {0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xA000, 0xA4CF},
                                        {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F},
                                        {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0x20000, 0x3FFFD}};
  for (const auto& range : kRanges) {
    if (code >= range[0] && code <= range[1]) return true;
  }
  return false;
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
    columns += Wide(code) ? 2 : 1;
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

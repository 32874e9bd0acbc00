#include "xml/encoding.h"

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
  return NamesUtf8(name) ? Utf8Charset() : env.OpenCharset(name);
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

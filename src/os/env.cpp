// What the platforms' Envs share: the names of temporary files, and wide
// paths as UTF-8.
#include <cstdio>

#include "os/env.h"

namespace talvoro {
namespace {

constexpr char kPrefix[] = ".talvoro-";
constexpr char kSuffix[] = ".tmp";
constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;
constexpr std::size_t kSuffixLength = sizeof kSuffix - 1;
constexpr std::size_t kDigits = 16;

}  // namespace

std::string TemporaryName(std::uint64_t random) {
  char name[kPrefixLength + kDigits + kSuffixLength + 1];
  std::snprintf(name, sizeof name, "%s%08lx%08lx%s", kPrefix,
                static_cast<unsigned long>(random >> 32),
                static_cast<unsigned long>(random & 0xFFFFFFFFu), kSuffix);
  return name;
}

bool IsTemporaryName(const std::string& name) {
  if (name.size() != kPrefixLength + kDigits + kSuffixLength) return false;
  if (name.compare(0, kPrefixLength, kPrefix) != 0) return false;
  if (name.compare(kPrefixLength + kDigits, kSuffixLength, kSuffix) != 0) return false;
  for (std::size_t i = kPrefixLength; i < kPrefixLength + kDigits; ++i) {
    const char c = name[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::string PathFromWide(const wchar_t* path) {
  std::string text;
  for (; path && *path; ++path) {
    char32_t code = static_cast<char32_t>(*path);
    // A high surrogate and the low one after it are one character.
    if (code >= 0xD800 && code < 0xDC00 && path[1] >= 0xDC00 && path[1] < 0xE000)
      code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<char32_t>(*++path) - 0xDC00);
    if (code < 0x80) {
      text += static_cast<char>(code);
      continue;
    }
    const int trail = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    text += static_cast<char>(((0xFFu << (7 - trail)) & 0xFF) | (code >> (6 * trail)));
    for (int i = trail - 1; i >= 0; --i)
      text += static_cast<char>(0x80 | ((code >> (6 * i)) & 0x3F));
  }
  return text;
}

}  // namespace talvoro

// What the platforms' Envs share: the names of temporary files.
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

}  // namespace talvoro

// Shared test helpers: a temporary folder that removes itself, file contents
// in and out, and byte-exact record comparison.
#ifndef TALVORO_TESTS_TEST_UTIL_H_
#define TALVORO_TESTS_TEST_UTIL_H_

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <type_traits>

#include <gtest/gtest.h>

#include "temp_dir.h"

#include <unistd.h>

namespace testutil {

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A record with every byte zero, to fill in and compare to the byte.
template <typename T>
T Zeroed() {
  static_assert(std::is_trivially_copyable<T>::value, "plain records only");
  T record;
  std::memset(static_cast<void*>(&record), 0, sizeof record);
  return record;
}

template <typename T>
::testing::AssertionResult SameBytes(const T& expected, const T& actual) {
  const auto* a = reinterpret_cast<const unsigned char*>(&expected);
  const auto* b = reinterpret_cast<const unsigned char*>(&actual);
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    if (a[i] != b[i]) {
      return ::testing::AssertionFailure() << "records differ first at byte " << i << ": expected "
                                           << int(a[i]) << ", got " << int(b[i]);
    }
  }
  return ::testing::AssertionSuccess();
}

// Copies text into a record field, for building expected records.
template <std::size_t W>
void Set(char (&field)[W], const std::string& text) {
  ASSERT_LT(text.size(), W);
  std::memcpy(field, text.data(), text.size());
  field[text.size()] = '\0';
}

}  // namespace testutil

#endif  // TALVORO_TESTS_TEST_UTIL_H_

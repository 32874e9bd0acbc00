// Shared test helpers: a temporary folder that removes itself, file contents
// in and out, the names in a folder, saved text in the platform's line
// breaks, and byte-exact record comparison.
#ifndef TALVORO_TESTS_SUPPORT_TEST_UTIL_H_
#define TALVORO_TESTS_SUPPORT_TEST_UTIL_H_

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "talvoro/platform.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace testutil {

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
}

// The names in a folder, "." and ".." left out.
inline std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// What ends a line of a saved document: TinyXML saves in text mode, which on
// Windows writes CR LF.
#if defined(_WIN32)
inline constexpr char kLineBreak[] = "\r\n";
#else
inline constexpr char kLineBreak[] = "\n";
#endif

// `text` with each "\n" as the platform's line break, as a save writes it.
inline std::string Lines(const std::string& text) {
  std::string lines;
  for (const char c : text) {
    if (c == '\n')
      lines += kLineBreak;
    else
      lines += c;
  }
  return lines;
}

// A CArrayTemplate as the host lays it out, whatever its element type: the
// vtable pointer, then the words a host reads and a test may damage.
struct RawArray {
  void* vptr;
  void* data;
  std::int32_t capacity, growBy, size;
};

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

// A list's records from head to tail.
template <typename T, typename ARG>
std::vector<T> Records(const CList<T, ARG>& list) {
  std::vector<T> records;
  for (POSITION pos = list.GetHeadPosition(); pos;)
    records.push_back(list.GetNext(pos));
  return records;
}

// Copies text into a record field, for building expected records.
template <std::size_t W>
void Set(char (&field)[W], const std::string& text) {
  ASSERT_LT(text.size(), W);
  std::memcpy(field, text.data(), text.size());
  field[text.size()] = '\0';
}

// The blocks of records that the arrays allocate, seen from array_test.cpp,
// which replaces the global allocation functions: every block of the array
// forms starts filled with 0xA5, so a slot that growth fails to clear shows.
// While an ArrayBlocks lives, on its thread, any allocation of more than
// `limit` bytes fails with std::bad_alloc, and the blocks of the array forms
// handed out are counted. Not under AddressSanitizer, which keeps its own
// allocator.
class ArrayBlocks {
 public:
  static bool Watched();
  explicit ArrayBlocks(std::size_t limit = SIZE_MAX);
  ArrayBlocks(const ArrayBlocks&) = delete;
  ArrayBlocks& operator=(const ArrayBlocks&) = delete;
  ~ArrayBlocks();
  // Blocks of at least 64 KiB handed out since construction: no TinyXML
  // string is that large, so these are the arrays' blocks.
  int Large() const;
  // Blocks handed out minus blocks released since construction.
  long Live() const;
};

}  // namespace testutil

#endif  // TALVORO_TESTS_SUPPORT_TEST_UTIL_H_

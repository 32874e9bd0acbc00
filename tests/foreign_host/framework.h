// A framework that is not the library's: a host's own CString, CList and
// array, with other layouts, other growth and an exception of its own, in
// the global namespace where a host's framework puts them. The host helper
// must fill these through their members alone.
#ifndef TALVORO_TESTS_FOREIGN_HOST_FRAMEWORK_H_
#define TALVORO_TESTS_FOREIGN_HOST_FRAMEWORK_H_

#include <cstddef>
#include <cstring>
#include <list>
#include <string>
#include <vector>

// What this framework throws: no std::exception.
struct CForeignError {
  int code;
};

class CString {
 public:
  CString() : bytes_(1, '\0') {}
  CString(const char* text) : bytes_(text, text + std::strlen(text) + 1) {}  // NOLINT
  operator const char*() const { return bytes_.data(); }
  int GetLength() const { return static_cast<int>(bytes_.size()) - 1; }

 private:
  std::size_t hash_ = 0;  // a member the library's string does not have
  std::vector<char> bytes_;
};

struct ForeignNode;
using POSITION = ForeignNode*;

template <class T, class ARG>
class CList {
 public:
  POSITION AddTail(ARG value) {
    items_.push_back(value);
    return reinterpret_cast<POSITION>(items_.size());
  }
  POSITION GetHeadPosition() const {
    return items_.empty() ? nullptr : reinterpret_cast<POSITION>(std::size_t{1});
  }
  T& GetNext(POSITION& position) {
    const std::size_t at = reinterpret_cast<std::size_t>(position);
    position = at < items_.size() ? reinterpret_cast<POSITION>(at + 1) : nullptr;
    return items_[at - 1];
  }
  int GetCount() const { return static_cast<int>(items_.size()); }

 private:
  std::vector<T> items_;
};

// An array that grows by doubling, and throws its own error once it holds
// `failAt` elements (never, by default).
template <class T, class ARG>
class CArray {
 public:
  int Add(ARG value) {
    SetAtGrow(GetCount(), value);
    return GetCount() - 1;
  }
  void SetAtGrow(int index, ARG value) {
    if (index == failAt) throw CForeignError{index};
    if (static_cast<std::size_t>(index) >= items_.size()) {
      if (items_.capacity() <= static_cast<std::size_t>(index)) items_.reserve(2 * index + 1);
      items_.resize(static_cast<std::size_t>(index) + 1);
    }
    items_[static_cast<std::size_t>(index)] = value;
  }
  int GetCount() const { return static_cast<int>(items_.size()); }
  T& ElementAt(int index) { return items_[static_cast<std::size_t>(index)]; }

  int failAt = -1;

 private:
  std::vector<T> items_;
};

#endif  // TALVORO_TESTS_FOREIGN_HOST_FRAMEWORK_H_

// The small part of the host framework that the library's signatures use: a
// narrow string, a doubly linked list of records, and the invalid-argument
// exception. Header-only; the names are the framework's, so host code written
// against the framework keeps compiling.
//
// CString holds bytes: no character set is converted and comparison is exact.
// CList owns its nodes and is not copyable. Allocation failure is std::bad_alloc.
#ifndef TALVORO_PLATFORM_H_
#define TALVORO_PLATFORM_H_

#include <stdexcept>
#include <string>

#include "talvoro/export.h"

// Thrown for a negative index or count, or a count that cannot grow.
class TALVORO_VISIBLE CInvalidArgException : public std::invalid_argument {
 public:
  CInvalidArgException() : std::invalid_argument("invalid argument") {}
};

[[noreturn]] inline void AfxThrowInvalidArgException() {
  throw CInvalidArgException();
}

template <typename Ch>
class CStringT {
 public:
  CStringT() = default;
  CStringT(const Ch* text) : text_(text ? text : Empty()) {}  // NOLINT: implicit by design
  CStringT& operator=(const Ch* text) {
    text_.assign(text ? text : Empty());
    return *this;
  }

  int GetLength() const { return static_cast<int>(text_.size()); }
  bool IsEmpty() const { return text_.empty(); }
  const Ch* GetString() const { return text_.c_str(); }
  operator const Ch*() const { return text_.c_str(); }  // NOLINT: implicit by design

  friend bool operator==(const CStringT& a, const CStringT& b) { return a.text_ == b.text_; }
  friend bool operator!=(const CStringT& a, const CStringT& b) { return !(a == b); }
  friend bool operator==(const CStringT& a, const Ch* b) { return a.text_ == (b ? b : Empty()); }
  friend bool operator!=(const CStringT& a, const Ch* b) { return !(a == b); }
  friend bool operator==(const Ch* a, const CStringT& b) { return b == a; }
  friend bool operator!=(const Ch* a, const CStringT& b) { return !(b == a); }

 private:
  static const Ch* Empty() {
    static const Ch empty[1] = {};
    return empty;
  }
  std::basic_string<Ch> text_;
};

using CString = CStringT<char>;

// An opaque place in a CList; null means "past the end".
struct CListPositionTag;
using POSITION = CListPositionTag*;

template <typename T, typename ARG = const T&>
class CList {
 public:
  CList() = default;
  CList(const CList&) = delete;
  CList& operator=(const CList&) = delete;
  ~CList() { RemoveAll(); }

  // Appends a copy of `value`; on allocation failure the list is unchanged.
  POSITION AddTail(ARG value) {
    Node* node = new Node{value, tail_, nullptr};
    (tail_ ? tail_->next : head_) = node;
    tail_ = node;
    ++count_;
    return ToPosition(node);
  }

  int GetCount() const { return count_; }
  bool IsEmpty() const { return count_ == 0; }
  POSITION GetHeadPosition() const { return ToPosition(head_); }

  // Returns the element at `pos` and moves `pos` to the next one.
  T& GetNext(POSITION& pos) {
    Node* node = FromPosition(pos);
    pos = ToPosition(node->next);
    return node->value;
  }
  const T& GetNext(POSITION& pos) const {
    const Node* node = FromPosition(pos);
    pos = ToPosition(node->next);
    return node->value;
  }

  T& GetHead() { return head_->value; }
  const T& GetHead() const { return head_->value; }
  T& GetTail() { return tail_->value; }
  const T& GetTail() const { return tail_->value; }

  void RemoveAll() {
    while (head_) {
      Node* next = head_->next;
      delete head_;
      head_ = next;
    }
    tail_ = nullptr;
    count_ = 0;
  }

 private:
  struct Node {
    T value;
    Node* prev;
    Node* next;
  };
  static POSITION ToPosition(const Node* node) {
    return reinterpret_cast<POSITION>(const_cast<Node*>(node));
  }
  static Node* FromPosition(POSITION pos) { return reinterpret_cast<Node*>(pos); }

  Node* head_ = nullptr;
  Node* tail_ = nullptr;
  int count_ = 0;
};

#endif  // TALVORO_PLATFORM_H_

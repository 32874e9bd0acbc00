// CArrayTemplate: the growable array of plain records that the host and the
// library share by reference, so its layout and growth rule are fixed:
//
//   [vtable pointer][T* data][int32 capacity][int32 growBy][int32 size]
//
// The block is raw bytes from operator new[], released with operator delete[];
// elements are copied byte for byte and never constructed or destroyed. Slots
// from size up to capacity are always all-zero. Growing to a needed count
// allocates needed + step slots, where the step is growBy, or, when growBy is
// 0, size / 8 clamped to [4, 1024]. An operation that throws (the invalid-
// argument exception, or std::bad_alloc) leaves the array exactly as it was.
#ifndef TALVORO_ARRAY_H_
#define TALVORO_ARRAY_H_

#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

#include "talvoro/platform.h"

namespace talvoro {

// The step that growing an array by one more element adds on top of what is
// needed: `growBy`, or, when it is 0, size / 8 clamped to [4, 1024].
constexpr std::int32_t GrowthStep(std::int32_t size, std::int32_t growBy) {
  if (growBy != 0) return growBy;
  return size / 8 < 4 ? 4 : (size / 8 > 1024 ? 1024 : size / 8);
}

}  // namespace talvoro

template <typename T, typename ARG = const T&>
class TALVORO_VISIBLE CArrayTemplate {
  static_assert(std::is_trivially_copyable<T>::value, "elements are copied byte for byte");

 public:
  CArrayTemplate() = default;
  CArrayTemplate(const CArrayTemplate&) = delete;
  CArrayTemplate& operator=(const CArrayTemplate&) = delete;
  virtual ~CArrayTemplate() { ::operator delete[](data_); }

  int GetCount() const { return size_; }
  int GetSize() const { return size_; }
  T* GetData() { return data_; }
  const T* GetData() const { return data_; }
  int GetCapacity() const { return capacity_; }
  int GetGrowBy() const { return growBy_; }
  void SetGrowBy(int step) {
    if (step < 0) AfxThrowInvalidArgException();
    growBy_ = step;
  }

  T& ElementAt(int index) { return data_[Checked(index)]; }
  const T& ElementAt(int index) const { return data_[Checked(index)]; }
  T& operator[](int index) { return ElementAt(index); }
  const T& operator[](int index) const { return ElementAt(index); }
  const T& GetAt(int index) const { return ElementAt(index); }

  void Add(ARG value) { SetAtGrow(size_, value); }

  // An index past the end grows the array to index + 1 elements; the new
  // elements between the old end and the index are all-zero.
  void SetAtGrow(int index, ARG value) {
    if (index < 0) AfxThrowInvalidArgException();
    if (index >= size_) {
      if (index == INT32_MAX) AfxThrowInvalidArgException();
      if (!InBlock(&value)) {
        SetSize(index + 1);
      } else {
        // `value` lives in our own block, which growth may release: copy it first.
        T copy;
        std::memcpy(static_cast<void*>(&copy), &value, sizeof(T));
        SetSize(index + 1);
        std::memcpy(static_cast<void*>(data_ + index), &copy, sizeof(T));
        return;
      }
    }
    std::memmove(static_cast<void*>(data_ + index), &value, sizeof(T));
  }

  void SetSize(int newSize) {
    if (newSize < 0) AfxThrowInvalidArgException();
    Reserve(newSize);
    if (newSize < size_) Clear(newSize, size_);
    size_ = newSize;
  }

  void Reserve(int needed) {
    if (needed <= capacity_) return;
    // The step always goes on top of what is needed; near the 32-bit limit
    // the capacity stops at the largest count it can express.
    const std::int64_t wanted =
        static_cast<std::int64_t>(needed) + talvoro::GrowthStep(size_, growBy_);
    const std::int32_t newCapacity =
        wanted > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(wanted);
    // A block whose byte count the size type cannot hold (on 32-bit targets)
    // is one that cannot be allocated.
    if (static_cast<std::size_t>(newCapacity) > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    T* block = static_cast<T*>(::operator new[](static_cast<std::size_t>(newCapacity) * sizeof(T)));
    // The elements in use are copied over, the other slots cleared, and the
    // old block released.
    if (size_ > 0)
      std::memcpy(static_cast<void*>(block), data_, static_cast<std::size_t>(size_) * sizeof(T));
    std::memset(static_cast<void*>(block + size_), 0,
                static_cast<std::size_t>(newCapacity - size_) * sizeof(T));
    ::operator delete[](data_);
    data_ = block;
    capacity_ = newCapacity;
  }

  // Releases the block: back to a null block, capacity 0 and size 0.
  void RemoveAll() {
    ::operator delete[](data_);
    data_ = nullptr;
    capacity_ = 0;
    size_ = 0;
  }

 private:
  // Whether `element` lies in this array's block (compared as addresses, so
  // that an unrelated element compares safely too).
  bool InBlock(const T* element) const {
    const auto at = reinterpret_cast<std::uintptr_t>(element);
    const auto begin = reinterpret_cast<std::uintptr_t>(data_);
    return data_ && at >= begin && at < reinterpret_cast<std::uintptr_t>(data_ + capacity_);
  }
  int Checked(int index) const {
    if (index < 0 || index >= size_) AfxThrowInvalidArgException();
    return index;
  }
  void Clear(int from, int to) {
    std::memset(static_cast<void*>(data_ + from), 0,
                static_cast<std::size_t>(to - from) * sizeof(T));
  }

  T* data_ = nullptr;
  std::int32_t capacity_ = 0;
  std::int32_t growBy_ = 0;
  std::int32_t size_ = 0;
};

#endif  // TALVORO_ARRAY_H_

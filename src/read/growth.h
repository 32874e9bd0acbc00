// Room for a reader's records before it appends them.
//
// Appending one record at a time copies a large array again every 1024
// records (the growth rule's step stops at 1024), so the time to fill it
// grows with the square of the count. A reader therefore counts its records
// first and calls GrowFor, which grows each array once, straight to the
// capacity that the one-by-one appends would reach, with the same zeroed free
// slots. The reader then appends as before, and no append grows again: the
// arrays end exactly as appending one at a time leaves them.
//
// What the plan cannot promise to match is left to the appends themselves,
// which then fail where they always did: a damaged array, counts near the
// 32-bit limit, and a block that cannot be allocated. The arrays of one
// reader grow all together or not at all, so that a failure never leaves one
// of them grown ahead of the others. The arrays grow through their public
// Reserve: the library has no other way into a host's array.
#ifndef TALVORO_READ_GROWTH_H_
#define TALVORO_READ_GROWTH_H_

#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <tuple>

#include "talvoro/array.h"

namespace talvoro {

// The capacity that `count` appends, one at a time, leave an array with that
// holds `size` elements in a block of `capacity` and grows by `growBy`:
// `capacity` itself when they fit. Nothing when the appends would throw (a
// negative size, or the size would reach the largest 32-bit value), when the
// rule would stop at the 32-bit limit, or when the array is damaged otherwise
// (size beyond capacity, negative step).
std::optional<std::int32_t> CapacityAfterAppends(std::int32_t size, std::int32_t capacity,
                                                 std::int32_t growBy, std::size_t count);

// An array and how many records a reader is about to append to it.
template <class Array>
struct Appends {
  Array& array;
  std::size_t count;
};
template <class Array>
Appends(Array&, std::size_t) -> Appends<Array>;

namespace growth_detail {

template <class Array>
struct Planned {
  Array* array;
  std::int32_t capacity;
};

template <class Array>
std::optional<Planned<Array>> Plan(const Appends<Array>& appends) {
  const std::optional<std::int32_t> capacity =
      CapacityAfterAppends(appends.array.GetCount(), appends.array.GetCapacity(),
                           appends.array.GetGrowBy(), appends.count);
  if (!capacity) return std::nullopt;
  return Planned<Array>{&appends.array, *capacity};
}

// The bytes of the block a plan grows its array to; 0 when the array holds
// the appends already.
template <class T, class ARG>
std::size_t BlockBytes(const Planned<CArrayTemplate<T, ARG>>& plan) {
  if (plan.capacity <= plan.array->GetCapacity()) return 0;
  if (static_cast<std::size_t>(plan.capacity) > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
  return static_cast<std::size_t>(plan.capacity) * sizeof(T);
}

// Grows the array to the planned capacity through its own growth rule, which
// adds its step on top of what is needed: what is asked for is the capacity
// less that step. (The plan lies at least one step past the current
// capacity, so this is always a growth.)
template <class T, class ARG>
void Grow(const Planned<CArrayTemplate<T, ARG>>& plan) {
  CArrayTemplate<T, ARG>& array = *plan.array;
  if (plan.capacity <= array.GetCapacity()) return;
  array.Reserve(plan.capacity - GrowthStep(array.GetCount(), array.GetGrowBy()));
}

// Memory of one planned block's size, taken from the heap only to learn that
// it can be had, and given back just before its array allocates the block.
class Probe {
 public:
  explicit Probe(std::size_t bytes) : memory_(bytes ? ::operator new(bytes) : nullptr) {}
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;
  ~Probe() { Release(); }
  void Release() noexcept {
    ::operator delete(memory_);
    memory_ = nullptr;
  }

 private:
  void* memory_;
};

}  // namespace growth_detail

// Grows each array once, to the capacity that appending its count of records
// one at a time reaches, or leaves all of them as they are when any of them
// cannot be planned or any planned block cannot be had: the memory of every
// block is taken first, and each is given back just before its array grows.
template <class... Arrays>
void GrowFor(const Appends<Arrays>&... appends) {
  const std::tuple<std::optional<growth_detail::Planned<Arrays>>...> plans(
      growth_detail::Plan(appends)...);
  std::apply(
      [](const auto&... plan) {
        if (!(plan && ...)) return;
        try {
          if constexpr (sizeof...(Arrays) == 1) {
            (growth_detail::Grow(*plan), ...);
          } else {
            growth_detail::Probe probes[] = {growth_detail::Probe(BlockBytes(*plan))...};
            std::size_t next = 0;
            ((probes[next++].Release(), growth_detail::Grow(*plan)), ...);
          }
        } catch (const std::bad_alloc&) {
          // Nothing grew (unless another thread took the memory between a
          // probe and its block; the arrays before it keep their growth): the
          // appends grow one by one and meet the shortage where they always
          // did, raising it there.
        }
      },
      plans);
}

// How many elements a range of child elements holds.
template <class Range>
std::size_t Count(const Range& range) {
  std::size_t count = 0;
  for (auto it = range.begin(); it != range.end(); ++it)
    ++count;
  return count;
}

}  // namespace talvoro

#endif  // TALVORO_READ_GROWTH_H_

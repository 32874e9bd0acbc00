#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <gtest/gtest.h>

#include "read/growth.h"
#include "talvoro/array.h"
#include "test_util.h"

namespace {

struct BlockCounts {
  bool watching = false;
  std::size_t limit = SIZE_MAX;
  int large = 0;
  long live = 0;
};
thread_local BlockCounts blockCounts;

}  // namespace

#if !defined(__SANITIZE_ADDRESS__)
// These are the allocation functions themselves: their free() matches their
// malloc(), which GCC cannot see once it has inlined them into their callers.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new[](std::size_t bytes) {
  BlockCounts& counts = blockCounts;
  if (counts.watching && bytes > counts.limit) throw std::bad_alloc();
  void* block = std::malloc(bytes ? bytes : 1);
  if (!block) throw std::bad_alloc();
  std::memset(block, 0xA5, bytes);
  if (counts.watching) {
    ++counts.live;
    if (bytes >= (std::size_t{64} << 10)) ++counts.large;
  }
  return block;
}
void operator delete[](void* block) noexcept {
  if (block && blockCounts.watching) {
    --blockCounts.live;
#if defined(__GLIBC__)
    std::memset(block, 0x5A, malloc_usable_size(block));  // a released block shows if read
#endif
  }
  std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  ::operator delete[](block);
}
// Other allocations meet the same limit, uncounted: the heap has no more.
void* operator new(std::size_t bytes) {
  if (blockCounts.watching && bytes > blockCounts.limit) throw std::bad_alloc();
  void* memory = std::malloc(bytes ? bytes : 1);
  if (!memory) throw std::bad_alloc();
  return memory;
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
#endif

namespace testutil {

bool ArrayBlocks::Watched() {
#if defined(__SANITIZE_ADDRESS__)
  return false;
#else
  return true;
#endif
}
ArrayBlocks::ArrayBlocks(std::size_t limit) {
  blockCounts = BlockCounts{true, limit, 0, 0};
}
ArrayBlocks::~ArrayBlocks() {
  blockCounts = BlockCounts{};
}
int ArrayBlocks::Large() const {
  return blockCounts.large;
}
long ArrayBlocks::Live() const {
  return blockCounts.live;
}

}  // namespace testutil

namespace {

struct Rec {
  std::int32_t a;
  char text[16];
};
using Array = CArrayTemplate<Rec, const Rec&>;

Rec Make(int a) {
  Rec r = testutil::Zeroed<Rec>();
  r.a = a;
  std::snprintf(r.text, sizeof r.text, "rec%d", a);
  return r;
}

bool SlotsZero(const Array& array, int from, int to) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(array.GetData());
  for (std::size_t i = from * sizeof(Rec); i < to * sizeof(Rec); ++i) {
    if (bytes[i] != 0) return false;
  }
  return true;
}

using testutil::RawArray;

TEST(ArrayLayout, HostSeesPointerThenCapacityGrowBySize) {
  Array array;
  array.SetGrowBy(3);
  array.Add(Make(1));
  RawArray raw;
  static_assert(sizeof(Array) == sizeof(RawArray), "array object size");
  std::memcpy(&raw, static_cast<const void*>(&array), sizeof raw);
  EXPECT_EQ(raw.data, static_cast<void*>(array.GetData()));
  EXPECT_EQ(raw.capacity, 4);
  EXPECT_EQ(raw.growBy, 3);
  EXPECT_EQ(raw.size, 1);
}

TEST(ArrayGrowth, FollowsTheAutomaticStep) {
  Array array;
  EXPECT_EQ(array.GetData(), nullptr);
  EXPECT_EQ(array.GetCapacity(), 0);
  array.Add(Make(0));
  EXPECT_EQ(array.GetCount(), 1);
  EXPECT_EQ(array.GetCapacity(), 5);
  EXPECT_TRUE(SlotsZero(array, 1, 5));

  const Rec* first = array.GetData();
  for (int i = 1; i < 5; ++i)
    array.Add(Make(i));
  EXPECT_EQ(array.GetData(), first) << "five adds allocate once";
  array.Add(Make(5));
  EXPECT_EQ(array.GetCapacity(), 10);
  for (int i = 0; i < 6; ++i) {
    EXPECT_TRUE(testutil::SameBytes(Make(i), array[i])) << i;
  }
  EXPECT_TRUE(SlotsZero(array, 6, 10));
}

TEST(ArrayGrowth, StepComesFromSizeAndIsClamped) {
  struct Case {
    int size, expectedCapacity;
  } cases[] = {{16, 21}, {80, 91}, {8192, 9217}, {20000, 21025}};
  for (const Case& c : cases) {
    Array array;
    // A step of 1 on size - 1 elements leaves the block exactly full at size.
    array.SetGrowBy(1);
    array.SetSize(c.size - 1);
    array.SetSize(c.size);
    array.SetGrowBy(0);
    ASSERT_EQ(array.GetCapacity(), array.GetCount());
    array.Add(Make(1));
    EXPECT_EQ(array.GetCapacity(), c.expectedCapacity) << "size " << c.size;
  }
}

TEST(ArrayGrowth, ExplicitStepIsAddedToWhatIsNeeded) {
  Array array;
  array.SetGrowBy(3);
  array.Add(Make(1));
  EXPECT_EQ(array.GetCapacity(), 4);
  array.Reserve(10);
  EXPECT_EQ(array.GetCapacity(), 13);
  array.Reserve(12);
  EXPECT_EQ(array.GetCapacity(), 13) << "a big enough block is kept";
  EXPECT_THROW(array.SetGrowBy(-1), CInvalidArgException);
  EXPECT_EQ(array.GetGrowBy(), 3);
}

TEST(ArraySize, ShrinkingClearsTheSlotsGivenUp) {
  Array array;
  for (int i = 0; i < 4; ++i)
    array.Add(Make(i + 1));
  array.SetSize(1);
  EXPECT_EQ(array.GetCount(), 1);
  array.SetSize(4);
  for (int i = 1; i < 4; ++i) {
    EXPECT_TRUE(testutil::SameBytes(testutil::Zeroed<Rec>(), array[i])) << i;
  }
  EXPECT_TRUE(testutil::SameBytes(Make(1), array[0]));
}

TEST(ArrayErrors, InvalidArgumentsLeaveTheArrayAsItWas) {
  Array array;
  EXPECT_THROW(array.ElementAt(0), CInvalidArgException);
  array.Add(Make(7));
  EXPECT_THROW(array.ElementAt(1), CInvalidArgException);
  EXPECT_THROW(array.ElementAt(-1), CInvalidArgException);
  EXPECT_THROW(array.GetAt(1), CInvalidArgException);
  EXPECT_THROW(array.SetAtGrow(-1, Make(1)), CInvalidArgException);
  EXPECT_THROW(array.SetSize(-1), CInvalidArgException);
  EXPECT_EQ(array.GetCount(), 1);
  EXPECT_EQ(array.GetCapacity(), 5);
  EXPECT_TRUE(testutil::SameBytes(Make(7), array[0]));
}

TEST(ArrayErrors, DamagedOrFullSizeThrowsAndChangesNothing) {
  Array array;
  array.Add(Make(1));
  RawArray raw;
  std::memcpy(&raw, static_cast<const void*>(&array), sizeof raw);
  for (std::int32_t bad : {-1, INT32_MAX}) {
    RawArray damaged = raw;
    damaged.size = bad;
    std::memcpy(static_cast<void*>(&array), &damaged, sizeof damaged);
    EXPECT_THROW(array.Add(Make(2)), CInvalidArgException) << bad;
    RawArray after;
    std::memcpy(&after, static_cast<const void*>(&array), sizeof after);
    EXPECT_EQ(after.data, raw.data);
    EXPECT_EQ(after.capacity, raw.capacity);
    EXPECT_EQ(after.size, bad);
  }
  std::memcpy(static_cast<void*>(&array), &raw, sizeof raw);  // restore for the destructor
}

TEST(ArrayErrors, FailedAllocationKeepsBlockCapacityAndSize) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer ends the process on an allocation it cannot make";
#endif
  Array array;
  array.Add(Make(1));
  const Rec* block = array.GetData();
  // No allocator can give INT32_MAX * 20 bytes here.
  EXPECT_THROW(array.Reserve(INT32_MAX), std::bad_alloc);
  EXPECT_EQ(array.GetData(), block);
  EXPECT_EQ(array.GetCapacity(), 5);
  EXPECT_EQ(array.GetCount(), 1);
}

// On a 32-bit target a growth can ask for more bytes than the size type
// holds: (2^20 + 1) records of 4 KiB are 2^32 + 4096 bytes, which would wrap
// to a block of 4 KiB. It throws the allocator's exception instead, and the
// array stays as it was.
TEST(ArrayErrors, AGrowthPastTheSizeTypeThrowsAndChangesNothing) {
  if (sizeof(std::size_t) > 4) GTEST_SKIP() << "only a 32-bit size type overflows here";
  struct Page {
    char bytes[4096];
  };
  CArrayTemplate<Page, const Page&> pages;
  pages.SetGrowBy(1 << 20);
  Page page = {};
  EXPECT_THROW(pages.Add(page), std::bad_alloc);
  EXPECT_EQ(pages.GetData(), nullptr);
  EXPECT_EQ(pages.GetCapacity(), 0);
  EXPECT_EQ(pages.GetCount(), 0);
  pages.SetGrowBy(0);
  pages.Add(page);
  EXPECT_EQ(pages.GetCount(), 1);
}

TEST(ArraySetAtGrow, AppendsOverwritesAndReachesPastTheEnd) {
  Array array;
  array.SetAtGrow(0, Make(1));
  array.SetAtGrow(0, Make(2));
  EXPECT_EQ(array.GetCount(), 1);
  EXPECT_TRUE(testutil::SameBytes(Make(2), array[0]));
  array.SetAtGrow(3, Make(4));  // past the end: grows to cover the index
  EXPECT_EQ(array.GetCount(), 4);
  EXPECT_GE(array.GetCapacity(), 4);
  EXPECT_TRUE(testutil::SameBytes(testutil::Zeroed<Rec>(), array[2]));
  EXPECT_TRUE(testutil::SameBytes(Make(4), array[3]));
}

TEST(ArraySetAtGrow, AddingAnOwnElementSurvivesReallocation) {
  // The argument lives in the block that growth replaces: first, inner and
  // last element, read after the old block is released.
  for (const int index : {0, 2, 4}) {
    Array array;
    for (int i = 0; i < 5; ++i)
      array.Add(Make(i));
    ASSERT_EQ(array.GetCapacity(), array.GetCount());
    const testutil::ArrayBlocks blocks;
    array.Add(array[index]);
    EXPECT_TRUE(testutil::SameBytes(Make(index), array[5])) << index;
  }
}

TEST(ArrayRemoveAll, ReleasesTheBlockAndKeepsTheStep) {
  Array array;
  array.SetGrowBy(2);
  array.Add(Make(1));
  array.RemoveAll();
  EXPECT_EQ(array.GetData(), nullptr);
  EXPECT_EQ(array.GetCapacity(), 0);
  EXPECT_EQ(array.GetCount(), 0);
  EXPECT_EQ(array.GetGrowBy(), 2);
  array.Add(Make(3));
  EXPECT_EQ(array.GetCapacity(), 3);
}

// An array holding `size` records Make(0) .. Make(size - 1) in a block of
// `capacity`, growing by `growBy`.
void Prepare(Array& array, int size, int capacity, int growBy) {
  ASSERT_NE(capacity, 1) << "no growth step leads to a capacity of 1";
  if (capacity > 0) {
    array.SetGrowBy(capacity - 1);  // 1 needed + capacity - 1
    array.Reserve(1);
  }
  for (int i = 0; i < size; ++i)
    array.Add(Make(i));
  array.SetGrowBy(growBy);
  ASSERT_EQ(array.GetCapacity(), capacity);
}

// Appends records from Make(from) on; how often the block moved.
int AppendAndCountMoves(Array& array, int from, int count) {
  int moves = 0;
  for (int i = 0; i < count; ++i) {
    const Rec* block = array.GetData();
    array.Add(Make(from + i));
    moves += array.GetData() != block;
  }
  return moves;
}

TEST(ArrayGrowth, ReserveTakesTheAutomaticStepFromTheSizeInUse) {
  // Neither the capacity nor the count needed decides the step, only the size.
  struct Case {
    int size, capacity, needed, expectedCapacity;
  } cases[] = {{80, 200, 300, 310}, {16, 40, 41, 45}, {40, 41, 100, 105}};
  for (const Case& c : cases) {
    Array array;
    Prepare(array, c.size, c.capacity, 0);
    array.Reserve(c.needed);
    EXPECT_EQ(array.GetCapacity(), c.expectedCapacity) << c.size << " in " << c.capacity;
    EXPECT_TRUE(SlotsZero(array, c.size, c.expectedCapacity));
  }
}

TEST(ArrayGrowFor, EndsExactlyAsAppendingOneByOneWithOneBlock) {
  struct Case {
    int size, capacity, growBy, count;
  } cases[] = {
      {0, 0, 0, 0},       {0, 0, 0, 1},         {0, 0, 0, 5},           {0, 0, 0, 6},
      {0, 0, 3, 1},       {5, 5, 0, 1},         {3, 10, 0, 7},          {3, 10, 0, 8},
      {3, 100, 0, 200},   {40, 40, 0, 1000},    {8191, 8191, 0, 1},     {8191, 8191, 0, 2000},
      {8192, 8192, 0, 1}, {8180, 8200, 0, 30},  {100, 9000, 0, 9000},   {20000, 20000, 0, 5000},
      {0, 0, 1, 1000},    {10, 10, 7, 100},     {100, 200, 1000, 5000}, {50, 60, 0, 0},
      {0, 0, 0, 100000},  {0, 0, 2000, 100000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "size " << c.size << ", capacity " << c.capacity
                                      << ", growBy " << c.growBy << ", count " << c.count);
    Array planned, oneByOne;
    Prepare(planned, c.size, c.capacity, c.growBy);
    Prepare(oneByOne, c.size, c.capacity, c.growBy);
    const Rec* block = planned.GetData();
    talvoro::GrowFor(talvoro::Appends{planned, static_cast<std::size_t>(c.count)});
    const int moves = (planned.GetData() != block) + AppendAndCountMoves(planned, c.size, c.count);
    AppendAndCountMoves(oneByOne, c.size, c.count);
    // One move when the block grows, none when it holds the appends already.
    EXPECT_EQ(moves, planned.GetCapacity() != c.capacity ? 1 : 0);
    ASSERT_EQ(planned.GetCount(), oneByOne.GetCount());
    ASSERT_EQ(planned.GetCapacity(), oneByOne.GetCapacity());
    if (planned.GetCapacity() == 0) continue;  // no blocks to compare
    EXPECT_EQ(std::memcmp(planned.GetData(), oneByOne.GetData(),
                          static_cast<std::size_t>(planned.GetCapacity()) * sizeof(Rec)),
              0)
        << "records and zeroed free slots";
  }
}

TEST(ArrayGrowFor, LeavesEveryArrayAloneWhenOneCannotBePlanned) {
  // A damaged array (the appends throw, or the rule's arithmetic runs outside
  // its invariants) next to a healthy one: neither grows, so the appends
  // meet the damage where they always did.
  struct Damage {
    std::int32_t size, capacity, growBy;
  } damages[] = {{-1, 5, 0}, {INT32_MAX, 5, 0}, {6, 5, 0}, {1, 5, -1}};
  for (const Damage& d : damages) {
    SCOPED_TRACE(::testing::Message() << d.size << " in " << d.capacity << " by " << d.growBy);
    Array healthy, damaged;
    healthy.Add(Make(1));
    damaged.Add(Make(2));
    RawArray raw, bad;
    std::memcpy(&raw, static_cast<const void*>(&damaged), sizeof raw);
    bad = raw;
    bad.size = d.size;
    bad.capacity = d.capacity;
    bad.growBy = d.growBy;
    std::memcpy(static_cast<void*>(&damaged), &bad, sizeof bad);
    const Rec* healthyBlock = healthy.GetData();

    talvoro::GrowFor(talvoro::Appends{healthy, 100}, talvoro::Appends{damaged, 1});
    RawArray after;
    std::memcpy(&after, static_cast<const void*>(&damaged), sizeof after);
    EXPECT_EQ(std::memcmp(&after, &bad, sizeof bad), 0);
    EXPECT_EQ(healthy.GetData(), healthyBlock);
    EXPECT_EQ(healthy.GetCapacity(), 5);

    talvoro::GrowFor(talvoro::Appends{healthy, 100}, talvoro::Appends{damaged, 0});
    Array reference;
    reference.Add(Make(1));
    AppendAndCountMoves(reference, 2, 100);
    EXPECT_EQ(healthy.GetCapacity(), reference.GetCapacity()) << "no appends to the damaged one";
    std::memcpy(static_cast<void*>(&damaged), &raw, sizeof raw);
  }
}

TEST(ArrayGrowFor, FallsBackNearThe32BitLimits) {
  // Counts no test can allocate: the plan alone. Where the appends would
  // throw at the largest size, or the rule would stop at the largest
  // capacity, there is no plan and the appends go one by one.
  struct Case {
    std::int32_t size, capacity, growBy;
    std::size_t count;
    std::optional<std::int32_t> capacityAfter;
  } cases[] = {
      {100, INT32_MAX, 0, INT32_MAX - 100, INT32_MAX},  // fills the largest block exactly
      {100, INT32_MAX, 0, INT32_MAX - 99, std::nullopt},
      {INT32_MAX - 5, INT32_MAX - 5, 0, 5, std::nullopt},  // 1024 more would not fit
      {INT32_MAX - 1030, INT32_MAX - 1030, 0, 5, INT32_MAX - 5},
      {0, 0, INT32_MAX, 1, std::nullopt},
      {0, 0, INT32_MAX - 1, 1, INT32_MAX},  // one step up to the largest block exactly
      {0, 0, 0, SIZE_MAX, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(talvoro::CapacityAfterAppends(c.size, c.capacity, c.growBy, c.count), c.capacityAfter)
        << c.size << " in " << c.capacity << " + " << c.count;
  }
}

TEST(ArrayGrowFor, AnArrayThatHoldsItsAppendsAlreadyNeedsNoMemory) {
  if (!testutil::ArrayBlocks::Watched()) GTEST_SKIP() << "needs the test allocator";
  struct Wide {
    char bytes[1000];
  };
  CArrayTemplate<Wide, const Wide&> roomy;
  roomy.Reserve(200);  // 204 slots of 1,000 bytes
  Array small;
  small.Add(Make(1));
  {
    // Room for the small block, not for one as large as the roomy one.
    testutil::ArrayBlocks blocks(100000);
    talvoro::GrowFor(talvoro::Appends{roomy, 100}, talvoro::Appends{small, 1000});
  }
  EXPECT_EQ(roomy.GetCapacity(), 204);
  EXPECT_EQ(small.GetCapacity(), 1067);
}

TEST(ArrayGrowFor, AllOrNothingWhenABlockCannotBeAllocated) {
  if (!testutil::ArrayBlocks::Watched()) GTEST_SKIP() << "needs the test allocator";
  struct Wide {
    char bytes[1000];
  };
  Array small;
  CArrayTemplate<Wide, const Wide&> wide;
  small.Add(Make(1));
  const Rec* block = small.GetData();
  {
    // The small block (1,067 slots of 20 bytes) is allocated, the wide one
    // (1,067 of 1,000 bytes) is not: the small one is released, not installed.
    testutil::ArrayBlocks blocks(100000);
    talvoro::GrowFor(talvoro::Appends{small, 1000}, talvoro::Appends{wide, 1000});
    EXPECT_EQ(blocks.Live(), 0);
  }
  EXPECT_EQ(small.GetData(), block);
  EXPECT_EQ(small.GetCapacity(), 5);
  EXPECT_EQ(wide.GetData(), nullptr);

  talvoro::GrowFor(talvoro::Appends{small, 1000}, talvoro::Appends{wide, 1000});
  EXPECT_EQ(small.GetCapacity(), 1067);
  EXPECT_EQ(wide.GetCapacity(), 1067);
}

}  // namespace

#include <cstdint>
#include <cstring>
#include <new>

#include <gtest/gtest.h>

#include "talvoro/array.h"
#include "test_util.h"

namespace {

struct Rec {
  std::int32_t a;
  char text[12];
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

// The words after the vtable pointer, read as the host would read them.
struct RawArray {
  void* vptr;
  void* data;
  std::int32_t capacity, growBy, size;
};

TEST(ArrayLayout, HostSeesPointerThenCapacityGrowBySize) {
  Array array;
  array.SetGrowBy(3);
  array.Add(Make(1));
  RawArray raw;
  static_assert(sizeof(Array) == sizeof(RawArray), "array object size");
  std::memcpy(&raw, static_cast<const void*>(&array), sizeof raw);
  EXPECT_EQ(raw.data, array.GetData());
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
  // No allocator can give INT32_MAX * 16 bytes here.
  EXPECT_THROW(array.Reserve(INT32_MAX), std::bad_alloc);
  EXPECT_EQ(array.GetData(), block);
  EXPECT_EQ(array.GetCapacity(), 5);
  EXPECT_EQ(array.GetCount(), 1);
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
  Array array;
  for (int i = 0; i < 5; ++i)
    array.Add(Make(i));
  ASSERT_EQ(array.GetCapacity(), array.GetCount());
  array.Add(array[2]);  // the argument lives in the block that growth replaces
  EXPECT_TRUE(testutil::SameBytes(Make(2), array[5]));
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

}  // namespace

// The array readers grow each array once, to what appending one record at a
// time leaves, and where that cannot be promised they append one by one and
// fail exactly where that fails.
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "talvoro/talvoro.h"
#include "test_util.h"

namespace {

using testutil::RawArray;

struct ArrayRef {
  void* object;
  std::size_t elementSize;
  RawArray Raw() const {
    RawArray raw;
    std::memcpy(&raw, object, sizeof raw);
    return raw;
  }
  void Poke(const RawArray& raw) const { std::memcpy(object, &raw, sizeof raw); }
};
template <typename T>
ArrayRef Ref(CArrayTemplate<T, const T&>& array) {
  return {static_cast<void*>(&array), sizeof(T)};
}

struct Containers {
  tagServerListInfo services;
  tagPartListInfo parts;
  tagZoneAreaArray zones;
  CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> shortcuts;
};

// An array reader and its arrays, in the order the rows below count them.
struct Reader {
  const char* name;
  bool (*read)(Containers&, const CString&);
  std::vector<ArrayRef> (*arrays)(Containers&);
};
const Reader kServices{
    "GetServiceData",
    [](Containers& c, const CString& p) { return CTinyXmlHelper::GetServiceData(c.services, p); },
    [](Containers& c) {
      return std::vector<ArrayRef>{Ref(c.services.types), Ref(c.services.kinds),
                                   Ref(c.services.servers)};
    }};
const Reader kParts{
    "GetPartData",
    [](Containers& c, const CString& p) { return CTinyXmlHelper::GetPartData(c.parts, p); },
    [](Containers& c) {
      return std::vector<ArrayRef>{Ref(c.parts.parts), Ref(c.parts.subParts)};
    }};
const Reader kZones{
    "GetAreaData",
    [](Containers& c, const CString& p) { return CTinyXmlHelper::GetAreaData(c.zones, p); },
    [](Containers& c) {
      return std::vector<ArrayRef>{Ref(c.zones.zones), Ref(c.zones.areas)};
    }};
const Reader kShortcuts{
    "GetShutCutInfo",
    [](Containers& c, const CString& p) { return CTinyXmlHelper::GetShutCutInfo(c.shortcuts, p); },
    [](Containers& c) { return std::vector<ArrayRef>{Ref(c.shortcuts)}; }};

std::string Repeat(int times, const std::string& text) {
  std::string out;
  for (int i = 0; i < times; ++i)
    out += text;
  return out;
}
// Each of `types` types holds `kinds` kinds, each of them `servers` servers.
std::string Services(int types, int kinds, int servers) {
  return "<s>" +
         Repeat(types, "<t>" + Repeat(kinds, "<k>" + Repeat(servers, "<v/>") + "</k>") + "</t>") +
         "</s>";
}
std::string Parts(int parts, int subs) {
  return "<p>" + Repeat(parts, "<part>" + Repeat(subs, "<sub/>") + "</part>") + "</p>";
}
// 'Z' a zone, 'A' an area, 'z' an area named "zone".
std::string Zones(const std::string& items) {
  std::string xml = "<zonearea>";
  for (char c : items)
    xml += c == 'Z' ? "<Zone/>" : (c == 'A' ? "<Area/>" : "<zone/>");
  return xml + "</zonearea>";
}

// The capacity that `count` appends one at a time leave an array with that
// holds `size` records in a block of `capacity`, growing by `growBy`.
int OneByOneCapacity(int size, int capacity, int growBy, int count) {
  CArrayTemplate<char> reference;
  reference.SetGrowBy(capacity > 1 ? capacity - 1 : 0);
  if (capacity > 0) reference.Reserve(1);
  reference.SetSize(size);
  reference.SetGrowBy(growBy);
  for (int i = 0; i < count; ++i)
    reference.Add('x');
  return reference.GetCapacity();
}

bool ZeroFrom(const RawArray& raw, std::size_t elementSize) {
  for (std::size_t i = raw.size * elementSize; i < raw.capacity * elementSize; ++i) {
    if (static_cast<const unsigned char*>(raw.data)[i] != 0) return false;
  }
  return true;
}

class ReaderGrowth : public ::testing::Test {
 protected:
  CString Write(const std::string& xml) {
    testutil::WriteFile(dir / "doc.xml", xml);
    return (dir / "doc.xml").c_str();
  }
  testutil::TempDir dir;
};

TEST_F(ReaderGrowth, EveryArrayEndsAsAppendingOneByOneWithOneBlock) {
  struct Case {
    const Reader& reader;
    std::string xml;
    std::vector<int> counts;  // records per array
  } cases[] = {
      {kServices, Services(10, 20, 50), {10, 200, 10000}},
      {kParts, Parts(300, 30), {300, 9000}},  // both arrays past 64 KiB
      {kZones, Zones(Repeat(3000, "ZAzAZAZ")), {9000, 12000}},
      {kShortcuts,
       "<items>" + Repeat(9000, "<item/><Item/><item file='x'/>") + "</items>",
       {18000}},
  };
  // Each array starts with `size` records in a block of `capacity` and grows by `growBy`.
  struct Start {
    int size, capacity, growBy;
  } starts[] = {{0, 0, 0}, {8190, 8192, 0}, {3, 3, 7}};
  for (const Case& c : cases) {
    for (const Start& start : starts) {
      SCOPED_TRACE(::testing::Message() << c.reader.name << " from " << start.size << " in "
                                        << start.capacity << " by " << start.growBy);
      Containers containers;
      const std::vector<ArrayRef> arrays = c.reader.arrays(containers);
      for (const ArrayRef& array : arrays) {
        // A zeroed block of the starting capacity, as the array's own.
        RawArray raw = array.Raw();
        const std::size_t bytes = start.capacity * array.elementSize;
        raw.data = bytes ? ::operator new[](bytes) : nullptr;
        if (bytes) std::memset(raw.data, 0, bytes);
        raw.capacity = start.capacity;
        raw.size = start.size;
        raw.growBy = start.growBy;
        array.Poke(raw);
      }
      const bool watched = testutil::ArrayBlocks::Watched();
      testutil::ArrayBlocks blocks;
      ASSERT_TRUE(c.reader.read(containers, Write(c.xml)));
      if (watched) {
        EXPECT_LE(blocks.Large(), static_cast<int>(arrays.size()));
      }
      for (std::size_t i = 0; i < arrays.size(); ++i) {
        const RawArray after = arrays[i].Raw();
        EXPECT_EQ(after.size, start.size + c.counts[i]) << "array " << i;
        EXPECT_EQ(after.capacity,
                  OneByOneCapacity(start.size, start.capacity, start.growBy, c.counts[i]))
            << "array " << i;
        EXPECT_TRUE(ZeroFrom(after, arrays[i].elementSize)) << "array " << i;
      }
    }
  }
}

TEST_F(ReaderGrowth, ADamagedArrayThrowsAfterTheSameAppendsAsOneByOne) {
  // Every other array holds the records appended before the damaged one is
  // reached, in the block that appending them one by one gives.
  struct Case {
    const Reader& reader;
    std::string xml;
    std::size_t damaged;
    std::vector<int> appendedBefore;  // per array; the damaged one keeps nothing
  } cases[] = {
      {kServices, Services(2, 2, 6), 1, {0, 0, 6}},            // the first kind's servers
      {kServices, Services(2, 2, 6), 0, {0, 2, 12}},           // the first type's kinds and servers
      {kServices, Services(2, 2, 6), 2, {0, 0, 0}},            // the first server
      {kParts, Parts(4, 6), 0, {0, 6}},                        // the first part's sub-parts
      {kZones, Zones("AAAAAAZAAAAAAAAAAAAAAAAA"), 0, {0, 6}},  // the areas before the first zone
      {kZones, Zones("ZZZZZZAZZZZZZ"), 1, {6, 0}},             // the zones before the first area
      {kShortcuts, "<items><item/><item/></items>", 0, {0}},
  };
  for (const Case& c : cases) {
    for (std::int32_t bad : {-1, INT32_MAX}) {
      SCOPED_TRACE(::testing::Message()
                   << c.reader.name << ", array " << c.damaged << " at " << bad);
      Containers containers;
      const std::vector<ArrayRef> arrays = c.reader.arrays(containers);
      RawArray damaged = arrays[c.damaged].Raw();
      damaged.size = bad;
      arrays[c.damaged].Poke(damaged);

      EXPECT_THROW(c.reader.read(containers, Write(c.xml)), CInvalidArgException);
      for (std::size_t i = 0; i < arrays.size(); ++i) {
        const RawArray after = arrays[i].Raw();
        if (i == c.damaged) {
          EXPECT_EQ(std::memcmp(&after, &damaged, sizeof after), 0) << "the damaged array";
          continue;
        }
        EXPECT_EQ(after.size, c.appendedBefore[i]) << "array " << i;
        EXPECT_EQ(after.capacity, OneByOneCapacity(0, 0, 0, c.appendedBefore[i])) << "array " << i;
      }
    }
  }
}

TEST_F(ReaderGrowth, AFailedAllocationSurfacesWhereAppendingOneByOneMeetsIt) {
  if (!testutil::ArrayBlocks::Watched()) GTEST_SKIP() << "needs the test allocator";
  // 300 parts of 10 sub-parts each. No block above 512 KB: the sub-parts'
  // planned block (about 3,100 records of 308 bytes) fails, the parts' fits.
  const std::size_t limit = 512 << 10;
  const CString path = Write(Parts(300, 10));
  CArrayTemplate<tagPartInfo, const tagPartInfo&> parts;
  CArrayTemplate<tagSubPartInfo, const tagSubPartInfo&> subParts;
  {
    testutil::ArrayBlocks blocks(limit);
    try {
      for (int p = 0; p < 300; ++p) {
        for (int s = 0; s < 10; ++s)
          subParts.Add(testutil::Zeroed<tagSubPartInfo>());
        parts.Add(testutil::Zeroed<tagPartInfo>());
      }
      FAIL() << "the limit lets every sub-part in";
    } catch (const std::bad_alloc&) {
    }
  }
  ASSERT_GT(parts.GetCount(), 100);

  tagPartListInfo info;
  {
    testutil::ArrayBlocks blocks(limit);
    EXPECT_THROW(CTinyXmlHelper::GetPartData(info, path), std::bad_alloc);
  }
  EXPECT_EQ(info.parts.GetCount(), parts.GetCount());
  EXPECT_EQ(info.parts.GetCapacity(), parts.GetCapacity()) << "not grown ahead of the failure";
  EXPECT_EQ(info.subParts.GetCount(), subParts.GetCount());
  EXPECT_EQ(info.subParts.GetCapacity(), subParts.GetCapacity());
}

}  // namespace

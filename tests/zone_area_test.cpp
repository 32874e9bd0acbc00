#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "document_test.h"
#include "talvoro/talvoro.h"

namespace {

using testutil::SameBytes;
using testutil::Set;
using testutil::Zeroed;

class ZoneArea : public testutil::DocumentTest {
 protected:
  ZoneArea() : DocumentTest("zones.xml") {}
  bool Read(const std::string& xml) { return CTinyXmlHelper::GetAreaData(info, Write(xml)); }
  tagZoneAreaArray info;
};

tagZoneInfo Zone(std::int16_t id, const std::string& name) {
  auto r = Zeroed<tagZoneInfo>();
  r.id = id;
  Set(r.name, name);
  return r;
}

tagAreaInfo Area(std::int16_t id, std::int16_t zoneId, const std::string& name,
                 std::int16_t extra) {
  auto r = Zeroed<tagAreaInfo>();
  r.zoneId = zoneId;
  r.id = id;
  r.extra = extra;
  Set(r.name, name);
  return r;
}

TEST_F(ZoneArea, OnlyZoneExactlyIsAZoneAndChildrenCountByPosition) {
  // "zone", "ZONE" and "Zones" are areas. Child names are free; comments and text
  // between children are skipped; a third zone child and a fifth area child
  // are ignored. Kinds alternate and each array keeps its own order.
  ASSERT_TRUE(Read(R"(<?xml version="1.0"?>
<list>
  <Zone><ID>1</ID><!-- c --><Name>East</Name><Extra>9</Extra></Zone>
  <Area><a>101</a>text<b>1</b><c>Shanghai</c><d>7</d><e>5</e></Area>
  <zone><x>102</x><x>3</x><x>Lower</x><x>0</x></zone>
  <Zone><n>2</n><m>South</m></Zone>
  <ZONE><x>103</x><x>2</x><x>Upper</x><x>-3</x></ZONE>
  <Zones><x>104</x><x>4</x><x>Plural</x><x>1</x></Zones>
</list>)"));
  ASSERT_EQ(info.zones.GetCount(), 2);
  ASSERT_EQ(info.areas.GetCount(), 4);
  EXPECT_TRUE(SameBytes(Zone(1, "East"), info.zones[0]));
  EXPECT_TRUE(SameBytes(Zone(2, "South"), info.zones[1]));
  EXPECT_TRUE(SameBytes(Area(101, 1, "Shanghai", 7), info.areas[0]));
  EXPECT_TRUE(SameBytes(Area(102, 3, "Lower", 0), info.areas[1]));
  EXPECT_TRUE(SameBytes(Area(103, 2, "Upper", -3), info.areas[2]));
  EXPECT_TRUE(SameBytes(Area(104, 4, "Plural", 1), info.areas[3]));
}

TEST_F(ZoneArea, ValueIsTheFirstChildNodeOfAnyKind) {
  struct Case {
    const char* content;  // what the name child holds
    const char* name;     // what the record's name becomes
  } cases[] = {
      {"plain", "plain"},
      {"<![CDATA[a<b>&c]]>", "a<b>&c"},
      {"<!--note-->after", "note"},
      {"<inner>text</inner>", "inner"},
      {"&lt;&amp;&gt;", "<&>"},
      {"  East \n\t  China  ", "East China"},  // white space condensed
      {"", ""},
      {"   ", ""},  // white space only is dropped
  };
  for (const Case& c : cases) {
    tagZoneAreaArray fresh;
    testutil::WriteFile(dir / "v.xml", std::string("<r><Zone><i>4</i><n>") + c.content +
                                           "</n></Zone><A><i>5</i><z>4</z><n>" + c.content +
                                           "</n><e>1</e></A></r>");
    ASSERT_TRUE(CTinyXmlHelper::GetAreaData(fresh, (dir / "v.xml").c_str())) << c.content;
    EXPECT_TRUE(SameBytes(Zone(4, c.name), fresh.zones[0])) << c.content;
    EXPECT_TRUE(SameBytes(Area(5, 4, c.name, 1), fresh.areas[0])) << c.content;
  }
}

TEST_F(ZoneArea, MissingOrEmptyChildrenStillYieldARecord) {
  ASSERT_TRUE(Read(R"(<r>
    <Zone/>
    <Zone><i>3</i></Zone>
    <Zone><i/><n>Named</n></Zone>
    <Area/>
    <Area><i>8</i><z/><n>Short</n></Area>
    <Area><i/><z> </z><n/><e>6</e></Area>
  </r>)"));
  ASSERT_EQ(info.zones.GetCount(), 3);
  ASSERT_EQ(info.areas.GetCount(), 3);
  EXPECT_TRUE(SameBytes(Zone(0, ""), info.zones[0]));
  EXPECT_TRUE(SameBytes(Zone(3, ""), info.zones[1]));
  EXPECT_TRUE(SameBytes(Zone(0, "Named"), info.zones[2]));
  EXPECT_TRUE(SameBytes(Area(0, 0, "", 0), info.areas[0]));
  EXPECT_TRUE(SameBytes(Area(8, 0, "Short", 0), info.areas[1]));
  EXPECT_TRUE(SameBytes(Area(0, 0, "", 6), info.areas[2]));
}

TEST_F(ZoneArea, NarrowsNumbersAndCutsNames) {
  const std::string name31(31, 'n'), name40(40, 'm');
  ASSERT_TRUE(Read("<r><Zone><i>70000</i><n>" + name40 + "</n></Zone>" +
                   "<Zone><i>-1</i><n>short</n></Zone>" +  // behind a longer name
                   "<A><i>12abc</i><z>abc</z><n>" + name31 + "</n><e>65537</e></A>" +
                   "<A><i> -5</i><z>99999999999</z><n>x</n><e>-70000</e></A></r>"));
  EXPECT_TRUE(SameBytes(Zone(4464, name40.substr(0, 31)), info.zones[0]));
  EXPECT_TRUE(SameBytes(Zone(-1, "short"), info.zones[1])) << "bytes after the name are zero";
  EXPECT_EQ(static_cast<std::uint16_t>(info.zones[1].id), 0xFFFF);
  EXPECT_TRUE(SameBytes(Area(12, 0, name31, 1), info.areas[0]));
  // 2147483647 keeps 0xFFFF; -70000 keeps 0xEE90.
  EXPECT_TRUE(SameBytes(Area(-5, -1, "x", static_cast<std::int16_t>(0xEE90)), info.areas[1]));
}

TEST_F(ZoneArea, AppendsBehindExistingRecordsAndTwice) {
  info.zones.Add(Zone(9, "held"));
  const std::string xml = "<r><Zone><i>1</i></Zone><A><i>2</i></A><Zone><i>3</i></Zone></r>";
  ASSERT_TRUE(Read(xml));
  ASSERT_TRUE(Read(xml));
  ASSERT_EQ(info.zones.GetCount(), 5);
  const std::int16_t ids[] = {9, 1, 3, 1, 3};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(info.zones[i].id, ids[i]) << i;
  EXPECT_EQ(info.areas.GetCount(), 2);
}

}  // namespace

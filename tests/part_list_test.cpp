#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "talvoro/talvoro.h"
#include "test_util.h"

namespace {

using testutil::SameBytes;
using testutil::Set;
using testutil::Zeroed;

class PartList : public ::testing::Test {
 protected:
  bool Read(const std::string& xml) {
    testutil::WriteFile(dir / "parts.xml", xml);
    return CTinyXmlHelper::GetPartData(info, (dir / "parts.xml").c_str());
  }
  testutil::TempDir dir;
  tagPartListInfo info;
};

tagPartInfo Part(std::int32_t id, const std::string& name, const std::string& url) {
  auto r = Zeroed<tagPartInfo>();
  r.id = id;
  Set(r.name, name);
  Set(r.url, url);
  return r;
}

tagSubPartInfo SubPart(std::int32_t id, std::int32_t parentId, const std::string& name,
                       const std::string& url, std::int32_t target) {
  auto r = Zeroed<tagSubPartInfo>();
  r.id = id;
  r.parentId = parentId;
  Set(r.name, name);
  Set(r.url, url);
  r.target = target;
  return r;
}

TEST_F(PartList, WalksByPositionAndCarriesThePartId) {
  // Element names differ everywhere; comments, text, a processing instruction
  // and a fourth level are passed over; "name" in small letters is not "Name".
  ASSERT_TRUE(Read(R"(<?xml version="1.0"?>
<anything>
  <!-- parts -->
  <p id="1" Name="Market" Url="http://m" other="x">
    text
    <a id="11" Name="Quotes" Url="http://m/q" target="2"><deep id="99" Name="no"/></a>
    <?pi skip?>
    <b id="12" name="lower" Url="http://m/d"/>
  </p>
  <q id="2" Name="Trade">
    <c id="21" target="1"/><d id="22"/><e id="23" Name="Last"/>
  </q>
  <r id="3"/>
</anything>)"));
  ASSERT_EQ(info.parts.GetCount(), 3);
  ASSERT_EQ(info.subParts.GetCount(), 5);
  EXPECT_TRUE(SameBytes(Part(1, "Market", "http://m"), info.parts[0]));
  EXPECT_TRUE(SameBytes(Part(2, "Trade", ""), info.parts[1]));
  EXPECT_TRUE(SameBytes(Part(3, "", ""), info.parts[2]));
  EXPECT_TRUE(SameBytes(SubPart(11, 1, "Quotes", "http://m/q", 2), info.subParts[0]));
  EXPECT_TRUE(SameBytes(SubPart(12, 1, "", "http://m/d", 0), info.subParts[1]));
  EXPECT_TRUE(SameBytes(SubPart(21, 2, "", "", 1), info.subParts[2]));
  EXPECT_TRUE(SameBytes(SubPart(22, 2, "", "", 0), info.subParts[3]));
  EXPECT_TRUE(SameBytes(SubPart(23, 2, "Last", "", 0), info.subParts[4]));
}

TEST_F(PartList, ConvertsNumbersAtTheirBoundaries) {
  struct Case {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"-5", -5},
      {"12abc", 12},
      {"abc", 0},
      {" \t+7", 7},
      {"70000", 70000},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"99999999999", INT32_MAX},
      {"-99999999999", INT32_MIN},
      {"", 0},
  };
  for (const Case& c : cases) {
    tagPartListInfo fresh;
    const std::string text = c.text;
    testutil::WriteFile(dir / "n.xml", "<r><p id='" + text + "'><s id='" + text + "' target='" +
                                           text + "'/></p></r>");
    ASSERT_TRUE(CTinyXmlHelper::GetPartData(fresh, (dir / "n.xml").c_str()));
    EXPECT_EQ(fresh.parts[0].id, c.value) << text;
    EXPECT_EQ(fresh.subParts[0].id, c.value) << text;
    EXPECT_EQ(fresh.subParts[0].parentId, c.value) << text;
    EXPECT_EQ(fresh.subParts[0].target, c.value) << text;
  }
  ASSERT_TRUE(Read("<r><p><s/></p></r>"));
  EXPECT_TRUE(SameBytes(SubPart(0, 0, "", "", 0), info.subParts[0])) << "absent numbers are 0";
}

TEST_F(PartList, TextAtAndPastTheFieldWidth) {
  const std::string name31(31, 'n'), url259(259, 'u');
  ASSERT_TRUE(Read("<r><p Name='" + name31 + "' Url='" + url259 + "'><s Name='" + name31 + "x" +
                   "' Url='" + url259 + "yy' target='9'/></p></r>"));
  EXPECT_TRUE(SameBytes(Part(0, name31, url259), info.parts[0]));
  EXPECT_TRUE(SameBytes(SubPart(0, 0, name31, url259, 9), info.subParts[0]))
      << "cut to the width, the fields behind untouched";
}

TEST_F(PartList, AppendsBehindExistingRecordsAndTwice) {
  info.parts.Add(Part(7, "held", ""));
  const std::string xml = "<r><p id='1'><s id='11'/></p><p id='2'/></r>";
  ASSERT_TRUE(Read(xml));
  ASSERT_TRUE(Read(xml));
  ASSERT_EQ(info.parts.GetCount(), 5);
  const std::int32_t ids[] = {7, 1, 2, 1, 2};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(info.parts[i].id, ids[i]) << i;
  EXPECT_STREQ(info.parts[0].name, "held");
  ASSERT_EQ(info.subParts.GetCount(), 2);
  EXPECT_EQ(info.subParts[1].parentId, 1);
}

TEST_F(PartList, FailuresLeaveTheArraysUntouched) {
  for (const std::string xml : {"", "<?xml version='1.0'?><!-- none -->", "<r><p></r>"}) {
    EXPECT_FALSE(Read(xml)) << xml;
    EXPECT_EQ(info.parts.GetData(), nullptr);
    EXPECT_EQ(info.subParts.GetData(), nullptr);
  }
  EXPECT_FALSE(CTinyXmlHelper::GetPartData(info, (dir / "missing.xml").c_str()));
  EXPECT_TRUE(Read("<r>only text</r>"));
  EXPECT_EQ(info.parts.GetCount(), 0);
}

TEST(PartListExample, ReadsTheBundledDocument) {
  tagPartListInfo info;
  ASSERT_TRUE(CTinyXmlHelper::GetPartData(info, TALVORO_EXAMPLES_DIR "/parts.xml"));
  EXPECT_EQ(info.parts.GetCount(), 3);
  ASSERT_EQ(info.subParts.GetCount(), 5);
  EXPECT_EQ(info.subParts[4].parentId, 2);
  EXPECT_STREQ(info.subParts[4].name, "Positions");
}

}  // namespace

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "document_test.h"
#include "talvoro/talvoro.h"

namespace {

using testutil::SameBytes;
using testutil::Set;
using testutil::Zeroed;

class PartList : public testutil::DocumentTest {
 protected:
  PartList() : DocumentTest("parts.xml") {}
  bool Read(const std::string& xml) { return CTinyXmlHelper::GetPartData(info, Write(xml)); }
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
  // Numbers keep all 32 bits; absent ones are 0.
  ASSERT_TRUE(Read(R"(<?xml version="1.0"?>
<anything>
  <!-- parts -->
  <p id="1" Name="Market" Url="http://m" other="x">
    text
    <a id="11" Name="Quotes" Url="http://m/q" target="2"><deep id="99" Name="no"/></a>
    <?pi skip?>
    <b id="12" name="lower" Url="http://m/d"/>
  </p>
  <q id="70000" Name="Trade">
    <c id="-5" target="12abc"/><d id="abc" target=" +7"/><e id="23" Name="Last"/>
  </q>
  <r id="3"/>
</anything>)"));
  ASSERT_EQ(info.parts.GetCount(), 3);
  ASSERT_EQ(info.subParts.GetCount(), 5);
  EXPECT_TRUE(SameBytes(Part(1, "Market", "http://m"), info.parts[0]));
  EXPECT_TRUE(SameBytes(Part(70000, "Trade", ""), info.parts[1]));
  EXPECT_TRUE(SameBytes(Part(3, "", ""), info.parts[2]));
  EXPECT_TRUE(SameBytes(SubPart(11, 1, "Quotes", "http://m/q", 2), info.subParts[0]));
  EXPECT_TRUE(SameBytes(SubPart(12, 1, "", "http://m/d", 0), info.subParts[1]));
  EXPECT_TRUE(SameBytes(SubPart(-5, 70000, "", "", 12), info.subParts[2]));
  EXPECT_TRUE(SameBytes(SubPart(0, 70000, "", "", 7), info.subParts[3]));
  EXPECT_TRUE(SameBytes(SubPart(23, 70000, "Last", "", 0), info.subParts[4]));
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

}  // namespace

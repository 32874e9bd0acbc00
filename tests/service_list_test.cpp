#include <string>

#include <gtest/gtest.h>

#include "document_test.h"
#include "talvoro/talvoro.h"

namespace {

class ServiceList : public testutil::DocumentTest {
 protected:
  ServiceList() : DocumentTest("services.xml") {}
  bool Read(const std::string& xml) { return CTinyXmlHelper::GetServiceData(info, Write(xml)); }
  tagServerListInfo info;
};

TEST_F(ServiceList, FlattensThreeLevelsWithParentIdentifiers) {
  ASSERT_TRUE(Read(R"(<?xml version="1.0"?>
<root>
  <t id="1" depend="0" typeName="Quotes">
    <k id="11" depend="5" version="3" kindName="L1" processName="q.exe" zipName="q.zip"
       UnzipDir="q" selfstock="SH600000">
      <s id="101" port="443" ip="10.0.0.1" serverName="A"/>
      <s id="102" port="8080x" ip="10.0.0.2" serverName="B"><deeper id="9"/></s>
    </k>
    <k id="12" depend="0" version="4"/>
  </t>
  <t id="2" depend="1" typeName="Trade"/>
</root>)"));
  ASSERT_EQ(info.types.GetCount(), 2);
  ASSERT_EQ(info.kinds.GetCount(), 2);
  ASSERT_EQ(info.servers.GetCount(), 2);

  // The records as literals: every field in order (spare, reserved: 0).
  EXPECT_TRUE(testutil::SameBytes(tagServiceTypeInfo{0, 1, 0, "Quotes"}, info.types[0]));
  EXPECT_TRUE(testutil::SameBytes(
      tagServiceKindInfo{0, 1, 11, 5, 3, 0, "L1", "q.exe", "q.zip", "q", "SH600000"},
      info.kinds[0]));
  EXPECT_TRUE(testutil::SameBytes(tagServiceServerInfo{0, 11, 5, 102, "8080x", "10.0.0.2", 0, "B"},
                                  info.servers[1]));
  EXPECT_TRUE(
      testutil::SameBytes(tagServiceKindInfo{0, 1, 12, 0, 4, 0, "", "", "", "", ""}, info.kinds[1]))
      << "absent attributes are zero";
  EXPECT_EQ(info.types[1].id, 2);
}

// Every record is cleared before it is filled: behind a shorter text's
// terminator lies nothing of the longer text of the record before.
TEST_F(ServiceList, EveryRecordIsClearedBeforeItIsFilled) {
  ASSERT_TRUE(
      Read("<r><t id='1' typeName='Market data of every session'>"
           "<k id='2' kindName='Level two quotes' processName='quotes-level-two.exe' "
           "zipName='quotes-level-two.zip' UnzipDir='quotes/level/two' selfstock='SH600000'>"
           "<s id='3' port='443443' ip='10.100.100.100' serverName='Shanghai main'/>"
           "<s id='4' port='1' ip='2' serverName='B'/></k>"
           "<k id='5' kindName='L' processName='p' zipName='z' UnzipDir='u' selfstock='s'/>"
           "</t><t id='6' typeName='T'/></r>"));
  EXPECT_TRUE(
      testutil::SameBytes(tagServiceServerInfo{0, 2, 0, 4, "1", "2", 0, "B"}, info.servers[1]));
  EXPECT_TRUE(testutil::SameBytes(tagServiceKindInfo{0, 1, 5, 0, 0, 0, "L", "p", "z", "u", "s"},
                                  info.kinds[1]));
  EXPECT_TRUE(testutil::SameBytes(tagServiceTypeInfo{0, 6, 0, "T"}, info.types[1]));
}

TEST_F(ServiceList, NamesDoNotMatterOnlyNesting) {
  const std::string alike = R"(<x><x id="1"><x id="2"><x id="3"/></x></x></x>)";
  const std::string mixed =
      R"(<a><!-- c --><b id="1">text<c id="2"><?pi x?><d id="3"/></c></b></a>)";
  for (const std::string& xml : {alike, mixed}) {
    tagServerListInfo fresh;
    testutil::WriteFile(dir / "n.xml", xml);
    ASSERT_TRUE(CTinyXmlHelper::GetServiceData(fresh, (dir / "n.xml").c_str()));
    ASSERT_EQ(fresh.servers.GetCount(), 1) << xml;
    EXPECT_EQ(fresh.types[0].id, 1);
    EXPECT_EQ(fresh.kinds[0].id, 2);
    EXPECT_EQ(fresh.servers[0].id, 3);
    EXPECT_EQ(fresh.servers[0].kindId, 2);
  }
}

TEST_F(ServiceList, NarrowsNumbersAndCarriesTheNarrowedId) {
  ASSERT_TRUE(Read(R"(<r><t id="-1"><k id="70000" depend="65537" version="70000"><s/></k>
                       <k version="-1" depend=" -5"/></t></r>)"));
  EXPECT_EQ(static_cast<std::uint16_t>(info.types[0].id), 0xFFFF);
  EXPECT_EQ(info.kinds[0].id, 4464);
  EXPECT_EQ(info.kinds[0].depend, 1);
  EXPECT_EQ(info.kinds[0].version, 4464);
  EXPECT_EQ(info.kinds[0].typeId, -1);
  EXPECT_EQ(info.servers[0].kindId, 4464);
  EXPECT_EQ(info.servers[0].kindDepend, 1);
  EXPECT_EQ(info.kinds[1].version, 65535) << "zero-extended, not sign-extended";
  EXPECT_EQ(info.kinds[1].depend, -5);
}

TEST_F(ServiceList, TextAtAndPastTheFieldWidth) {
  const std::string name31(31, 'n'), name40(40, 'm'), stock259(259, 's'), stock300(300, 't');
  ASSERT_TRUE(Read("<r><t typeName='" + name31 + "'><k kindName='" + name40 + "' selfstock='" +
                   stock259 + "'/><k selfstock='" + stock300 +
                   "' zipName='&lt;&amp;&gt;'/></t></r>"));
  EXPECT_EQ(std::string(info.types[0].typeName), name31);
  EXPECT_EQ(info.types[0].typeName[31], '\0');
  EXPECT_EQ(std::string(info.kinds[0].kindName), name40.substr(0, 31));
  EXPECT_EQ(std::string(info.kinds[0].selfstock), stock259);
  EXPECT_EQ(std::string(info.kinds[1].selfstock), stock300.substr(0, 259));
  EXPECT_EQ(std::string(info.kinds[1].zipName), "<&>");
  // A cut text leaves its neighbours alone.
  EXPECT_EQ(info.kinds[0].processName[0], '\0');
  EXPECT_EQ(info.kinds[1].reserved, 0);
}

TEST_F(ServiceList, AppendsBehindExistingRecordsAndTwice) {
  const std::string xml = R"(<r><t id="1"><k id="2"><s id="3"/></k></t><t id="4"/></r>)";
  ASSERT_TRUE(Read(xml));
  ASSERT_TRUE(Read(xml));
  ASSERT_EQ(info.types.GetCount(), 4);
  EXPECT_EQ(info.types[0].id, 1);
  EXPECT_EQ(info.types[1].id, 4);
  EXPECT_EQ(info.types[2].id, 1);
  EXPECT_EQ(info.types[3].id, 4);
  EXPECT_EQ(info.kinds.GetCount(), 2);
  EXPECT_EQ(info.servers.GetCount(), 2);
}

TEST_F(ServiceList, FailuresLeaveTheArraysUntouched) {
  const std::string failing[] = {
      "",                                      // empty
      "<?xml version=\"1.0\"?><!-- only -->",  // no element
      "<r><t id=\"1\"></r>",                   // malformed
      "   \n\t",                               // white space only
  };
  for (const std::string& xml : failing) {
    EXPECT_FALSE(Read(xml)) << xml;
    EXPECT_EQ(info.types.GetCount(), 0);
    EXPECT_EQ(info.types.GetData(), nullptr);
  }
  EXPECT_FALSE(CTinyXmlHelper::GetServiceData(info, (dir / "missing.xml").c_str()));
  EXPECT_FALSE(CTinyXmlHelper::GetServiceData(info, dir.path().c_str())) << "a directory";
  EXPECT_EQ(info.kinds.GetData(), nullptr);

  EXPECT_TRUE(Read("<r/>")) << "an empty document element is no failure";
  EXPECT_EQ(info.types.GetCount(), 0);
}

TEST_F(ServiceList, ReadsLineBreaksAndByteOrderMarkAsLoadFileDoes) {
  ASSERT_TRUE(Read("\xEF\xBB\xBF<r>\r\n<t id='1' typeName='a\r\nb'/>\r</r>"));
  ASSERT_EQ(info.types.GetCount(), 1);
  // Attribute values keep the normalised line break.
  EXPECT_EQ(std::string(info.types[0].typeName), "a\nb");
}

TEST_F(ServiceList, ContainerErrorsPassThroughAndKeepEarlierRecords) {
  ASSERT_TRUE(Read(R"(<r><t id="1"><k id="2"><s id="3"/><s id="4"/></k></t></r>)"));
  tagServerListInfo damaged;
  damaged.kinds.SetSize(1);
  // A kinds array that cannot grow: servers go in first, then the kind throws.
  struct Raw {
    void* vptr;
    void* data;
    std::int32_t capacity, growBy, size;
  } raw;
  std::memcpy(&raw, static_cast<const void*>(&damaged.kinds), sizeof raw);
  const std::int32_t saved = raw.size;
  raw.size = -1;
  std::memcpy(static_cast<void*>(&damaged.kinds), &raw, sizeof raw);
  EXPECT_THROW(CTinyXmlHelper::GetServiceData(damaged, (dir / "services.xml").c_str()),
               CInvalidArgException);
  EXPECT_EQ(damaged.servers.GetCount(), 2);
  EXPECT_EQ(damaged.types.GetCount(), 0);
  raw.size = saved;
  std::memcpy(static_cast<void*>(&damaged.kinds), &raw, sizeof raw);
}

TEST(ServiceListExample, ReadsTheBundledDocument) {
  tagServerListInfo info;
  ASSERT_TRUE(CTinyXmlHelper::GetServiceData(info, TALVORO_EXAMPLES_DIR "/services.xml"));
  EXPECT_EQ(info.types.GetCount(), 3);
  EXPECT_EQ(info.kinds.GetCount(), 3);
  EXPECT_EQ(info.servers.GetCount(), 5);
  EXPECT_STREQ(info.servers[4].ip, "trade.example.net");
  EXPECT_EQ(info.servers[4].kindId, 21);
  EXPECT_EQ(info.servers[4].kindDepend, 11);
}

}  // namespace

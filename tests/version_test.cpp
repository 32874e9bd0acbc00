#include <string>

#include <gtest/gtest.h>

#include "document_test.h"
#include "talvoro/talvoro.h"

namespace {

class Version : public testutil::DocumentTest {
 protected:
  Version() : DocumentTest("version.xml") {}
};

TEST_F(Version, ReadsTheDocumentElementsTwoAttributes) {
  struct Case {
    const char* xml;
    const char* version;
    const char* updateTime;
  } cases[] = {
      {R"(<?xml version="1.0"?><v version="1.0.3" updatetime="2019-05-20 08:30"><c/></v>)", "1.0.3",
       "2019-05-20 08:30"},
      {R"(<v version="1.2.3.4"/>)", "1.2.3.4", ""},
      {R"(<v updatetime=" any  form &amp; length "/>)", "", " any  form & length "},
      {R"(<v other="1"><c version="9" updatetime="t"/></v>)", "", ""},  // not on a child
      {R"(<v Version="9" updateTime="t"/>)", "", ""},                   // names are exact
  };
  for (const Case& c : cases) {
    CString version = "old", updateTime = "old";
    ASSERT_TRUE(CTinyXmlHelper::GeVersion(Write(c.xml), version, updateTime)) << c.xml;
    EXPECT_EQ(version, c.version) << c.xml;
    EXPECT_EQ(updateTime, c.updateTime) << c.xml;
  }
}

TEST_F(Version, OneStringForBothEndsWithTheUpdateTime) {
  CString both = "old";
  ASSERT_TRUE(
      CTinyXmlHelper::GeVersion(Write(R"(<v version="1.0" updatetime="noon"/>)"), both, both));
  EXPECT_EQ(both, "noon");
  ASSERT_TRUE(CTinyXmlHelper::GeVersion(Write(R"(<v version="1.0"/>)"), both, both));
  EXPECT_EQ(both, "");
}

}  // namespace

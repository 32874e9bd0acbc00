#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document_test.h"
#include "talvoro/talvoro.h"

namespace {

using testutil::Lines;
using testutil::ReadFile;
using testutil::Set;
using testutil::WriteFile;
using testutil::Zeroed;

using SoftList = CList<tagSoftData, const tagSoftData&>;

// A component's record: its numbers, then its texts.
tagSoftData Soft(std::int16_t id, std::int16_t depend, std::int32_t version,
                 const std::string& kind = "", const std::string& process = "",
                 const std::string& zip = "", const std::string& unzip = "") {
  auto r = Zeroed<tagSoftData>();
  r.id = id;
  r.depend = depend;
  r.version = version;
  Set(r.kindName, kind);
  Set(r.processName, process);
  Set(r.zipName, zip);
  Set(r.unzipDir, unzip);
  return r;
}

class Software : public testutil::DocumentTest {
 protected:
  Software() : DocumentTest("soft.xml") {}
  bool Read(const std::string& xml) { return CTinyXmlHelper::GetSoftData(list, Write(xml)); }
  auto Records() const { return testutil::Records(list); }
  bool SetVersion(std::int16_t id, std::int32_t version) {
    auto soft = Zeroed<tagSoftData>();
    soft.id = id;
    soft.version = version;
    return CTinyXmlHelper::SetSoftVersion(soft, Path().c_str());
  }
  SoftList list;
};

TEST_F(Software, ReadsComponentsGroupByGroupWhateverTheNames) {
  ASSERT_TRUE(Read(R"(<?xml version="1.0"?>
<soft id="9" version="9">
  <market id="8" kindName="group attributes are not read">
    <c id="1" depend="2" version="30" kindName="Quotes" processName="q.exe" zipName="q.zip"
       UnzipDir="q" extra="ignored"><deeper id="7"/></c>
    <!-- a comment between components -->
    <other id="65538" depend=" -5" version="70000abc"
           processName="pppppppppppppppppppppppppppppppppppppppp"/>
  </market>
  <empty/>
  text between groups
  <trade><c id="3" version="-1" kindName="&lt;&amp;&gt;&quot;&apos;"
             zipName="zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz"/></trade>
</soft>)"));
  const auto records = Records();
  ASSERT_EQ(records.size(), 3u);

  // Narrowed to 16 bits (the version keeps 32), converted as atoi does, cut to
  // 31 bytes; absent text is zero.
  const tagSoftData expected[] = {Soft(1, 2, 30, "Quotes", "q.exe", "q.zip", "q"),
                                  Soft(2, -5, 70000, "", std::string(31, 'p')),
                                  Soft(3, 0, -1, "<&>\"'", "", std::string(31, 'z'))};
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(testutil::SameBytes(expected[i], records[i])) << i;
}

TEST_F(Software, AppendsBehindExistingEntriesAndFailsWithoutTouchingTheList) {
  list.AddTail(Soft(77, 0, 0));
  const std::string xml = "<r><g><c id='1'/><c id='2'/></g></r>";
  ASSERT_TRUE(Read(xml));
  ASSERT_TRUE(Read(xml));
  auto records = Records();
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(records[0].id, 77);
  EXPECT_EQ(records[1].id, 1);
  EXPECT_EQ(records[2].id, 2);
  EXPECT_EQ(records[3].id, 1);
  EXPECT_EQ(records[4].id, 2);

  for (const std::string& bad :
       {std::string(), std::string("<!-- no element -->"), std::string("<r><g></r>")}) {
    EXPECT_FALSE(Read(bad)) << bad;
  }
  EXPECT_FALSE(CTinyXmlHelper::GetSoftData(list, (dir / "missing.xml").c_str()));
  EXPECT_EQ(list.GetCount(), 5);
  EXPECT_TRUE(Read("<r/>"));
  EXPECT_EQ(list.GetCount(), 5);
}

TEST_F(Software, SetVersionUpdatesEveryMatchOnItsLow16Bits) {
  WriteFile(Path(), R"(<?xml version="1.0" encoding="UTF-8" standalone="yes" ?>
<soft>
  <g id="3" version="1">
    <c version="5" id="3" kindName="a"/>
    <c id="65539" kindName="b"/>
    <c id="4" version="5"/>
  </g>
  <h><c id="3" version="6">text</c></h>
</soft>)");
  ASSERT_TRUE(SetVersion(3, -1));
  // Group attributes are not touched; "version" keeps its place or is added last.
  EXPECT_EQ(ReadFile(Path()),
            Lines("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n"
                  "<soft>\n"
                  "    <g id=\"3\" version=\"1\">\n"
                  "        <c version=\"-1\" id=\"3\" kindName=\"a\" />\n"
                  "        <c id=\"65539\" kindName=\"b\" version=\"-1\" />\n"
                  "        <c id=\"4\" version=\"5\" />\n"
                  "    </g>\n"
                  "    <h>\n"
                  "        <c id=\"3\" version=\"-1\">text</c>\n"
                  "    </h>\n"
                  "</soft>\n"));
  ASSERT_TRUE(CTinyXmlHelper::GetSoftData(list, Path().c_str()));
  const auto records = Records();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[1].version, -1);
  EXPECT_EQ(records[2].version, 5);
  EXPECT_EQ(records[3].version, -1);
}

TEST_F(Software, SetVersionWithoutMatchStillSavesAndLoadFailureWritesNothing) {
  WriteFile(Path(), "<soft><g><c id='1' version='2'/></g></soft>");
  EXPECT_TRUE(SetVersion(9, 10));
  EXPECT_EQ(ReadFile(Path()),
            Lines("<soft>\n    <g>\n        <c id=\"1\" version=\"2\" />\n    </g>\n</soft>\n"));

  WriteFile(Path(), "<soft/>");
  EXPECT_TRUE(SetVersion(9, 10));
  EXPECT_EQ(ReadFile(Path()), Lines("<soft />\n"));

  for (const std::string& bad :
       {std::string("<soft><g></soft>"), std::string("<?xml version='1.0'?>")}) {
    WriteFile(Path(), bad);
    EXPECT_FALSE(SetVersion(1, 2)) << bad;
    EXPECT_EQ(ReadFile(Path()), bad);
  }
  const std::string missing = dir / "missing.xml";
  auto soft = Zeroed<tagSoftData>();
  EXPECT_FALSE(CTinyXmlHelper::SetSoftVersion(soft, missing.c_str()));
  EXPECT_FALSE(CTinyXmlHelper::IsFileExist(missing.c_str()));
}

}  // namespace

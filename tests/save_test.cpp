// Saving replaces a file whole or not at all, on every platform: what cannot
// be saved creates nothing, and what is saved is what TinyXML saves.
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "talvoro/talvoro.h"
#include "test_util.h"
#include "writers.h"
#include "xml/document.h"

namespace {

using testutil::Entries;
using testutil::LargeDocument;
using testutil::ReadFile;
using testutil::WriteFile;
using testutil::Writers;

TEST(Save, AMissingFolderIsAFailureAndCreatesNothing) {
  testutil::TempDir dir;
  for (const auto& [name, write] : Writers()) {
    EXPECT_FALSE(write(dir / "missing/doc.xml")) << name;
    EXPECT_FALSE(write(dir / "doc.xml/")) << name;
    EXPECT_TRUE(Entries(dir.path()).empty()) << name;
  }
}

TEST(Save, ATargetThatIsNoRegularFileIsLeftAlone) {
  testutil::TempDir dir;
  ASSERT_TRUE(std::filesystem::create_directory(dir / "doc.xml"));
  talvoro::XmlDocument doc;
  EXPECT_FALSE(doc.Save((dir / "doc.xml").c_str()).ok());
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"doc.xml"});
  EXPECT_TRUE(Entries(dir / "doc.xml").empty());
  EXPECT_FALSE(doc.Save(nullptr).ok());
  EXPECT_FALSE(doc.Save("").ok());
}

TEST(Save, AByteOrderMarkIsKeptOnlyWhenTheLoadedDocumentHadOne) {
  const std::string bom = "\xEF\xBB\xBF";
  for (const auto& [name, write] : Writers()) {
    for (const bool marked : {true, false}) {
      testutil::TempDir dir;
      const std::string path = dir / "doc.xml";
      WriteFile(path, (marked ? bom : "") + LargeDocument());
      ASSERT_TRUE(write(path)) << name;
      const bool loaded = name[0] == 'S' || name[0] == 'D';  // edits the loaded document
      EXPECT_EQ(ReadFile(path).compare(0, 3, bom) == 0, marked && loaded) << name;
      EXPECT_EQ(ReadFile(path).find("<?xml"), marked && loaded ? 3u : 0u) << name;
    }
  }
}

TEST(Save, PrintsExactlyWhatTinyXmlSaves) {
  testutil::TempDir dir;
  const std::string xml =
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- note -->\n<r a='1' b=\"&amp;\" c='say \"hi\"'>"
      "<x>t &lt; u</x><![CDATA[<raw>]]><?pi x?><y/><m>text<y/>more</m></r>\n";
  WriteFile(dir / "in.xml", xml);
  TiXmlDocument reference;
  ASSERT_TRUE(reference.LoadFile((dir / "in.xml").c_str()));
  ASSERT_TRUE(reference.SaveFile((dir / "reference.xml").c_str()));

  talvoro::XmlDocument doc;
  ASSERT_NE(doc.Load((dir / "in.xml").c_str()).root, nullptr);
  ASSERT_TRUE(doc.Save((dir / "ours.xml").c_str()).ok());
  EXPECT_EQ(ReadFile(dir / "ours.xml"), ReadFile(dir / "reference.xml"));
}

}  // namespace

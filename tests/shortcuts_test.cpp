#include <algorithm>
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

using ShortcutArray = CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&>;

tagShortCutInfo Shortcut(const std::string& file) {
  auto shortcut = Zeroed<tagShortCutInfo>();
  Set(shortcut.file, file);
  return shortcut;
}

class Shortcuts : public testutil::DocumentTest {
 protected:
  Shortcuts() : DocumentTest("shortcuts.xml") {}
  using DocumentTest::Write;  // the document as text; the overload below writes records
  bool Read(const std::string& xml) { return CTinyXmlHelper::GetShutCutInfo(array, Write(xml)); }
  bool Write(const std::vector<std::string>& files) {
    ShortcutArray out;
    for (const std::string& file : files)
      out.Add(Shortcut(file));
    return CTinyXmlHelper::WrittingShutCutInfo(Path().c_str(), out);
  }
  bool Delete(const std::string& file) {
    auto shortcut = Shortcut(file);
    return CTinyXmlHelper::DeleteShutCutInfo(Path().c_str(), shortcut);
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> files;
    for (int i = 0; i < array.GetCount(); ++i)
      files.push_back(array[i].file);
    return files;
  }
  ShortcutArray array;
};

TEST_F(Shortcuts, ReadsOnlyItemChildrenOfTheDocumentElement) {
  const std::string file259(259, 'f'), file300(300, 'g');
  array.Add(Shortcut("earlier"));
  ASSERT_TRUE(
      Read("<list name='x'><item file='a.exe'><item file='nested'/></item>"
           "<Item file='case'/><!-- c --><other file='skip'/><item/>"
           "<item file='" +
           file259 + "'/><item file='" + file300 + "'/></list>"));
  EXPECT_EQ(Files(),
            (std::vector<std::string>{"earlier", "a.exe", "", file259, file300.substr(0, 259)}));
  EXPECT_TRUE(testutil::SameBytes(Shortcut("a.exe"), array[1])) << "cleared before filling";
  EXPECT_TRUE(testutil::SameBytes(Shortcut(""), array[2]));
  EXPECT_EQ(array[3].file[259], '\0');

  ASSERT_TRUE(Read("<items><x/></items>"));
  EXPECT_EQ(array.GetCount(), 5);
  for (const std::string& bad : {std::string(), std::string("<?xml version='1.0'?><!-- -->"),
                                 std::string("<items><item></items>")}) {
    EXPECT_FALSE(Read(bad)) << bad;
  }
  EXPECT_FALSE(CTinyXmlHelper::GetShutCutInfo(array, (dir / "missing.xml").c_str()));
  EXPECT_EQ(array.GetCount(), 5);
}

TEST_F(Shortcuts, AMillionItemsEndInTheBlockOfAppendingOneByOne) {
  const int items = 1000000;
  std::string xml = "<items><item file='first'/>";
  for (int i = 2; i < items; ++i)
    xml += "<item/>";
  xml += "<item file='last'/></items>";
  array.Add(Shortcut("earlier"));
  {
    testutil::ArrayBlocks blocks;
    ASSERT_TRUE(Read(xml));
    if (testutil::ArrayBlocks::Watched()) {
      EXPECT_EQ(blocks.Large(), 1);
    }
  }
  // Growth one append at a time: needed + an eighth of the size, 4 to 1024.
  int capacity = 5;
  for (int size = 1; size < 1 + items; ++size) {
    if (size + 1 > capacity) capacity = size + 1 + std::clamp(size / 8, 4, 1024);
  }
  ASSERT_EQ(array.GetCount(), 1 + items);
  EXPECT_EQ(array.GetCapacity(), capacity);
  EXPECT_STREQ(array[0].file, "earlier");
  EXPECT_STREQ(array[1].file, "first");
  EXPECT_STREQ(array[2].file, "");
  EXPECT_STREQ(array[items].file, "last");
  const char* free = reinterpret_cast<const char*>(array.GetData() + array.GetCount());
  const std::size_t freeBytes = (capacity - array.GetCount()) * sizeof(tagShortCutInfo);
  EXPECT_TRUE(std::all_of(free, free + freeBytes, [](char c) { return c == 0; }));
}

TEST_F(Shortcuts, WritesTheItemsDocumentExactly) {
  ASSERT_TRUE(Write({"a.exe", "b.exe"}));
  EXPECT_EQ(ReadFile(Path()),
            Lines("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n"
                  "<items>\n"
                  "    <item file=\"a.exe\"></item>\n"
                  "    <item file=\"b.exe\"></item>\n"
                  "</items>\n"));
  // Over a longer file with a byte-order mark: replaced whole, no mark.
  ASSERT_TRUE(Write({""}));
  EXPECT_EQ(ReadFile(Path()),
            Lines("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n"
                  "<items>\n"
                  "    <item file=\"\"></item>\n"
                  "</items>\n"));
  WriteFile(Path(), "\xEF\xBB\xBF<items><item file='old'/></items>" + std::string(4000, ' '));
  ASSERT_TRUE(Write({}));
  EXPECT_EQ(ReadFile(Path()),
            Lines("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n<items />\n"));
}

TEST_F(Shortcuts, RoundTripsTextsThatNeedEscaping) {
  const std::vector<std::string> files = {
      "C:\\Tools\\a&b.exe", "<x>", "say \"hi\"", "it's", "", "\xE6\x97\xA5\xE6\x9C\xAC.exe",
      std::string(259, 'z')};
  ASSERT_TRUE(Write(files));
  EXPECT_NE(ReadFile(Path()).find("file=\"C:\\Tools\\a&amp;b.exe\""), std::string::npos);
  EXPECT_NE(ReadFile(Path()).find("file=\"&lt;x&gt;\""), std::string::npos);
  ASSERT_TRUE(CTinyXmlHelper::GetShutCutInfo(array, Path().c_str()));
  EXPECT_EQ(Files(), files);
}

TEST_F(Shortcuts, WritesAFieldWithoutTerminatorOnlyUpToItsWidth) {
  // Two full records side by side: the first ends where the second begins.
  ShortcutArray out;
  tagShortCutInfo full;
  for (const char fill : {'w', 'v'}) {
    std::memset(full.file, fill, sizeof full.file);
    out.Add(full);
  }
  ASSERT_TRUE(CTinyXmlHelper::WrittingShutCutInfo(Path().c_str(), out));
  for (const char fill : {'w', 'v'}) {
    EXPECT_NE(ReadFile(Path()).find("file=\"" + std::string(260, fill) + "\""), std::string::npos)
        << fill;
  }
}

TEST_F(Shortcuts, DeleteRemovesOnlyTheFirstExactMatchAndKeepsTheRest) {
  const std::string original =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n"
      "<!-- desk shortcuts -->\n"
      "<items owner=\"desk\">\n"
      "    <item file=\"A.exe\" />\n"
      "    <group>\n"
      "        <item file=\"a.exe\" />\n"
      "    </group>\n"
      "    <item file=\"a.exe \" />\n"
      "    <item file=\"a.exe\" pinned=\"1\">first</item>\n"
      "    <item />\n"
      "    <item file=\"a.exe\">second</item>\n"
      "</items>\n";
  WriteFile(Path(), original);
  ASSERT_TRUE(Delete("a.exe"));
  std::string expected = original;
  expected.erase(expected.find("    <item file=\"a.exe\" pinned"),
                 std::string("    <item file=\"a.exe\" pinned=\"1\">first</item>\n").size());
  EXPECT_EQ(ReadFile(Path()), Lines(expected));

  ASSERT_TRUE(Delete(""));  // matches the item without "file"
  ASSERT_TRUE(Delete("a.exe"));
  ASSERT_TRUE(Delete("a.exe"));  // nothing left to match: saved unchanged
  EXPECT_EQ(ReadFile(Path()),
            Lines("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n"
                  "<!-- desk shortcuts -->\n"
                  "<items owner=\"desk\">\n"
                  "    <item file=\"A.exe\" />\n"
                  "    <group>\n"
                  "        <item file=\"a.exe\" />\n"
                  "    </group>\n"
                  "    <item file=\"a.exe \" />\n"
                  "</items>\n"));
}

TEST_F(Shortcuts, DeleteThatCannotLoadWritesNothing) {
  for (const std::string& bad : {std::string("<items><item></items>"), std::string("<!-- -->")}) {
    WriteFile(Path(), bad);
    EXPECT_FALSE(Delete("a")) << bad;
    EXPECT_EQ(ReadFile(Path()), bad);
  }
  const std::string missing = dir / "missing.xml";
  auto shortcut = Shortcut("a");
  EXPECT_FALSE(CTinyXmlHelper::DeleteShutCutInfo(missing.c_str(), shortcut));
  EXPECT_FALSE(CTinyXmlHelper::IsFileExist(missing.c_str()));
}

}  // namespace

#include <cstring>
#include <string>
#include <utility>
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

using UpdateList = CList<tagUpdateData, const tagUpdateData&>;
using Pairs = std::vector<std::pair<std::string, std::string>>;

tagUpdateData Update(const std::string& file, const std::string& check) {
  auto update = Zeroed<tagUpdateData>();
  Set(update.file, file);
  Set(update.check, check);
  return update;
}

class Updates : public testutil::DocumentTest {
 protected:
  Updates() : DocumentTest("updates.xml") {}
  using DocumentTest::Write;  // the document as text; the overload below writes records
  bool Read(const std::string& xml) { return CTinyXmlHelper::GetUpdateData(list, Write(xml)); }
  bool Write(const Pairs& pairs) {
    UpdateList out;
    for (const auto& [file, check] : pairs)
      out.AddTail(Update(file, check));
    return CTinyXmlHelper::WrittingUpdateFile(Path().c_str(), out);
  }
  auto Records() const { return testutil::Records(list); }
  Pairs Texts() const {
    Pairs texts;
    for (const tagUpdateData& r : Records())
      texts.emplace_back(r.file, r.check);
    return texts;
  }
  UpdateList list;
};

TEST_F(Updates, ReadsOnlyItemChildrenOfTheDocumentElement) {
  const std::string file259(259, 'f'), check63(63, 'c'), check70(70, 'd');
  list.AddTail(Update("earlier", "0"));
  ASSERT_TRUE(
      Read("<list><item file='a.dll' check='c1' size='9'><item file='nested'/></item>"
           "<ITEM file='case'/>text<other file='skip'/><item check='only-check'/>"
           "<item file='only-file'/><item file='" +
           file259 + "' check='" + check63 + "'/><item check='" + check70 + "'/></list>"));
  EXPECT_EQ(Texts(), (Pairs{{"earlier", "0"},
                            {"a.dll", "c1"},
                            {"", "only-check"},
                            {"only-file", ""},
                            {file259, check63},
                            {"", check70.substr(0, 63)}}));
  const auto records = Records();
  EXPECT_TRUE(testutil::SameBytes(Update("a.dll", "c1"), records[1])) << "cleared before filling";
  EXPECT_TRUE(testutil::SameBytes(Update("only-file", ""), records[3]));
  EXPECT_EQ(records[4].file[259], '\0');
  EXPECT_EQ(records[4].check[63], '\0');

  for (const std::string& bad :
       {std::string(" "), std::string("<?xml version='1.0'?>"), std::string("<a><item></a>")}) {
    EXPECT_FALSE(Read(bad)) << bad;
  }
  EXPECT_FALSE(CTinyXmlHelper::GetUpdateData(list, dir.path().c_str()));
  EXPECT_TRUE(Read("<items/>"));
  EXPECT_EQ(list.GetCount(), 6);
}

TEST_F(Updates, WritesTheItemsDocumentExactly) {
  ASSERT_TRUE(Write({{"a.dll", "c1"}, {"b.dll", "c2"}}));
  EXPECT_EQ(ReadFile(Path()),
            Lines("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n"
                  "<items>\n"
                  "    <item file=\"a.dll\" check=\"c1\"></item>\n"
                  "    <item file=\"b.dll\" check=\"c2\"></item>\n"
                  "</items>\n"));
  ASSERT_TRUE(Write({{"", ""}}));
  EXPECT_EQ(ReadFile(Path()),
            Lines("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n"
                  "<items>\n"
                  "    <item file=\"\" check=\"\"></item>\n"
                  "</items>\n"));
  // Fields filled to their width without a terminator end there, not in
  // the next field.
  auto full = Zeroed<tagUpdateData>();
  std::memset(full.file, 'f', sizeof full.file);
  std::memset(full.check, 'c', sizeof full.check);
  UpdateList fulls;
  fulls.AddTail(full);
  ASSERT_TRUE(CTinyXmlHelper::WrittingUpdateFile(Path().c_str(), fulls));
  EXPECT_NE(ReadFile(Path()).find("<item file=\"" + std::string(260, 'f') + "\" check=\"" +
                                  std::string(64, 'c') + "\">"),
            std::string::npos);
  WriteFile(Path(), "\xEF\xBB\xBF<items><item file='old'/></items>");
  ASSERT_TRUE(Write({}));
  EXPECT_EQ(ReadFile(Path()),
            Lines("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n<items />\n"));
}

TEST_F(Updates, RoundTripsTextsThatNeedEscaping) {
  const Pairs pairs = {{"a&b.dll", "<>"},
                       {"\"quoted\"", "it's"},
                       {"dir/\xC3\xA9t\xC3\xA9.zip", "&amp;"},
                       {std::string(259, 'f'), std::string(63, 'c')},
                       {"same", "same"},
                       {"same", "same"}};
  ASSERT_TRUE(Write(pairs));
  EXPECT_NE(ReadFile(Path()).find("file=\"a&amp;b.dll\" check=\"&lt;&gt;\""), std::string::npos);
  ASSERT_TRUE(CTinyXmlHelper::GetUpdateData(list, Path().c_str()));
  EXPECT_EQ(Texts(), pairs);
  const auto records = Records();
  EXPECT_TRUE(testutil::SameBytes(Update("a&b.dll", "<>"), records[0]));
}

}  // namespace

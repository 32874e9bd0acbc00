#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "talvoro/helper.h"
#include "test_util.h"

namespace {

class FileExist : public ::testing::Test {
 protected:
  void SetUp() override {
    testutil::WriteFile(dir / "config.xml", "<a/>");
    testutil::WriteFile(dir / "[x].ini", "");
    ASSERT_EQ(::mkdir((dir / "sub").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((dir / "empty").c_str(), 0755), 0);
  }
  bool Exists(const std::string& path) { return CTinyXmlHelper::IsFileExist(path.c_str()); }
  testutil::TempDir dir;
};

TEST_F(FileExist, PlainPaths) {
  EXPECT_FALSE(CTinyXmlHelper::IsFileExist(nullptr));
  EXPECT_FALSE(CTinyXmlHelper::IsFileExist(""));
  EXPECT_TRUE(Exists(dir / "config.xml"));
  EXPECT_TRUE(Exists(dir / "sub"));
  EXPECT_TRUE(Exists(dir.path()));
  EXPECT_FALSE(Exists(dir / "missing.xml"));
  EXPECT_FALSE(Exists(dir / "missing/config.xml"));
  EXPECT_TRUE(Exists(dir / "[x].ini")) << "brackets are plain characters";
  EXPECT_FALSE(Exists(dir / "[y].ini"));
  // A symbolic link exists, whether or not what it names does.
  ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
  EXPECT_TRUE(Exists(dir / "dangling"));
  EXPECT_TRUE(Exists(dir / "dangl?ng"));
}

TEST_F(FileExist, WildcardsInTheLastComponent) {
  EXPECT_TRUE(Exists(dir / "*"));
  EXPECT_TRUE(Exists(dir / "*.xml"));
  EXPECT_TRUE(Exists(dir / "con*"));
  EXPECT_TRUE(Exists(dir / "c?nfig.xml"));
  EXPECT_TRUE(Exists(dir / "*f*g*.x?l"));
  EXPECT_TRUE(Exists(dir / "[x]*"));
  EXPECT_TRUE(Exists(dir / "s?b"));
  EXPECT_FALSE(Exists(dir / "?"));
  EXPECT_FALSE(Exists(dir / "*.json"));
  EXPECT_FALSE(Exists(dir / "config.xml?"));
  EXPECT_TRUE(Exists(dir / "config.xml**")) << "stars match the empty rest";
  EXPECT_TRUE(Exists(dir / "*?*?"));
  EXPECT_TRUE(Exists("/*")) << "a pattern in the root folder";
  EXPECT_FALSE(Exists(dir / "[xy]*")) << "no character classes";
  EXPECT_FALSE(Exists(dir / "empty/*")) << "'.' and '..' are not entries";
  EXPECT_FALSE(Exists(dir / "missing/*"));
}

TEST_F(FileExist, WildcardsElsewhereAreLiteral) {
  EXPECT_FALSE(Exists(dir / "s*/x"));
  EXPECT_FALSE(Exists(dir.path() + "/*/config.xml"));
}

TEST_F(FileExist, RelativePatternSearchesTheWorkingDirectory) {
  char old[4096];
  ASSERT_NE(::getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(::chdir(dir.path().c_str()), 0);
  const bool found = CTinyXmlHelper::IsFileExist("*.xml");
  const bool missing = CTinyXmlHelper::IsFileExist("*.json");
  ASSERT_EQ(::chdir(old), 0);
  EXPECT_TRUE(found);
  EXPECT_FALSE(missing);
}

TEST(FileExistPattern, LongPatternsDoNotBlowUp) {
  // Many stars against a long name that almost matches: must stay fast.
  const std::string pattern = "/tmp/" + std::string(200, '*') + "z-no-such-name";
  EXPECT_FALSE(CTinyXmlHelper::IsFileExist(pattern.c_str()));
}

}  // namespace

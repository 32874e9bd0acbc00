// IsFileExist hands its path to the system's file search. Where the two
// searches differ, each case says what each platform answers: on Windows
// FindFirstFileA's wildcards also match "." and "..", names match whatever
// their case, trailing dots are dropped, and a wildcard outside the last
// component is an invalid name.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "talvoro/helper.h"
#include "test_util.h"

namespace {

#if defined(_WIN32)
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

class FileExist : public ::testing::Test {
 protected:
  void SetUp() override {
    testutil::WriteFile(dir / "config.xml", "<a/>");
    testutil::WriteFile(dir / "[x].ini", "");
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::create_directory(dir / "empty");
  }
  bool Exists(const std::string& path) { return CTinyXmlHelper::IsFileExist(path.c_str()); }
  testutil::TempDir dir;
};

TEST_F(FileExist, PathsAndPatterns) {
  EXPECT_FALSE(CTinyXmlHelper::IsFileExist(nullptr));
  EXPECT_FALSE(CTinyXmlHelper::IsFileExist(""));
  EXPECT_TRUE(Exists(dir.path()));

  const struct {
    const char* path;  // under the test folder
    bool posix;
    bool windows;
  } cases[] = {
      {"config.xml", true, true},
      {"sub", true, true},
      {"missing.xml", false, false},
      {"missing/config.xml", false, false},
      {"[x].ini", true, true},  // brackets are plain characters
      {"[y].ini", false, false},
      {"*", true, true},
      {"*.xml", true, true},
      {"con*", true, true},
      {"c?nfig.xml", true, true},
      {"*f*g*.x?l", true, true},
      {"[x]*", true, true},
      {"s?b", true, true},
      {"*.json", false, false},
      {"config.xml**", true, true},  // stars match the empty rest
      {"[xy]*", false, false},       // no character classes
      {"missing/*", false, false},
      {"CONFIG.XML", false, true},  // Windows names match whatever their case
      {"C*.X?L", false, true},
      {"config.xml.", false, true},  // Windows drops a name's trailing dots
      {"?", false, true},            // Windows: "." is one character
      {"empty/*", false, true},      // POSIX: "." and ".." are not entries
      {"empty/.", true, true},       // the folder itself
      {"empty/..", true, true},
      {"empty/?", false, true},
      {"empty/??", false, true},  // ".."
      {"missing/.", false, false},
      {"s*/x", false, false},  // wildcards elsewhere: literal, or an invalid name
      {"*/config.xml", false, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Exists(dir / c.path), kWindows ? c.windows : c.posix) << c.path;
  // On POSIX '?' stands for exactly one character and stars between them for
  // any run; on Windows a trailing '?' may stand for none, and how stars and
  // '?' combine is the system's version's to decide (Wine's finds no "*?*?").
  if (!kWindows) {
    EXPECT_FALSE(Exists(dir / "config.xml?"));
    EXPECT_TRUE(Exists(dir / "*?*?"));
    EXPECT_TRUE(Exists("/*")) << "a pattern in the root folder";
    // A symbolic link exists, whether or not what it names does.
    std::filesystem::create_symlink("nowhere", dir / "dangling");
    EXPECT_TRUE(Exists(dir / "dangling"));
    EXPECT_TRUE(Exists(dir / "dangl?ng"));
  }
}

TEST_F(FileExist, RelativePatternSearchesTheWorkingDirectory) {
  const std::filesystem::path old = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  const bool found = CTinyXmlHelper::IsFileExist("*.xml");
  const bool missing = CTinyXmlHelper::IsFileExist("*.json");
  std::filesystem::current_path(old);
  EXPECT_TRUE(found);
  EXPECT_FALSE(missing);
}

TEST_F(FileExist, LongPatternsDoNotBlowUp) {
  // Many stars against a long name that almost matches: must stay fast.
  testutil::WriteFile(dir / (std::string(100, 'z') + "-no-such-nam"), "");
  const std::string pattern = dir / (std::string(100, '*') + "z-no-such-name");
  EXPECT_FALSE(CTinyXmlHelper::IsFileExist(pattern.c_str()));
}

}  // namespace

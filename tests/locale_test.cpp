// The writers in a host's own locale. The program takes the user's locale as
// a host does (setlocale(LC_ALL, "")); the test runs once per locale, with
// TALVORO_EXPECTED_CHARSET naming the set that locale gives a host: GBK,
// Big5, Shift_JIS, or "" for a UTF-8 one.
#include <clocale>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "code_pages.h"
#include "os/env.h"
#include "talvoro/talvoro.h"
#include "temp_dir.h"
#include "test_util.h"

namespace {

TEST(HostLocale, SavesTextThatIsNotUtf8InTheLocalesCodePage) {
  const char* expected = std::getenv("TALVORO_EXPECTED_CHARSET");
  ASSERT_TRUE(expected) << "run by ctest, which names the locale's set";
  talvoro::Env& env = talvoro::Env::Default();
  ASSERT_EQ(env.NarrowCharset(), expected);
  const std::string charset = expected;

  // UTF-8 text is declared UTF-8 in every locale.
  testutil::ExpectReadBack(env, {"D:\\\xE8\xA1\x8C\xE6\x83\x85.exe", "a.exe"}, "UTF-8");

  // A Chinese host's paths in GBK, through the exported writer.
  testutil::TempDir dir;
  const std::string path = dir / "shortcuts.xml";
  CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> shortcuts;
  for (const std::string& name : testutil::GbkPaths()) {
    auto shortcut = testutil::Zeroed<tagShortCutInfo>();
    testutil::Set(shortcut.file, name);
    shortcuts.Add(shortcut);
  }
  const bool saved = CTinyXmlHelper::WrittingShutCutInfo(path.c_str(), shortcuts);
  if (charset == "GBK") {
    EXPECT_TRUE(saved);
  } else if (charset.empty()) {
    EXPECT_FALSE(saved) << "three of them would not read back declared UTF-8";
  }

  for (const testutil::CodePage* page : {&testutil::kGbk, &testutil::kBig5, &testutil::kShiftJis}) {
    if (charset != page->name) continue;
    if (charset == "GBK") testutil::ExpectReadBack(env, testutil::GbkPaths(), "GBK");
    std::mt19937 random(1209);
    std::vector<std::string> texts;
    for (int i = 0; i < 100; ++i)
      texts.push_back(testutil::RandomText(*page, random, 1 + random() % 30));
    testutil::ExpectReadBack(env, texts, charset);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// Text in the narrow code pages of Chinese and Japanese Windows hosts: the
// shortcut paths of a Chinese host in GBK, and random text in GBK, Big5 and
// Shift_JIS drawn from ranges that every implementation of them assigns.
#ifndef TALVORO_TESTS_SUPPORT_CODE_PAGES_H_
#define TALVORO_TESTS_SUPPORT_CODE_PAGES_H_

#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "api/writers.h"
#include "talvoro/talvoro.h"
#include "temp_dir.h"
#include "test_util.h"

namespace testutil {

// Twenty paths below D:\程序 in GBK, as a Chinese host's shortcut list holds
// them. Those whose last byte is a UTF-8 lead byte (自选股, 持仓, 基金, ...)
// swallow their closing quote when a reader takes them for UTF-8.
inline const std::vector<std::string>& GbkPaths() {
  static const std::vector<std::string> paths = {
      "D:\\\xB3\xCC\xD0\xF2\\\xD7\xD4\xD1\xA1\xB9\xC9",  // 自选股
      "D:\\\xB3\xCC\xD0\xF2\\\xB3\xD6\xB2\xD6",          // 持仓
      "D:\\\xB3\xCC\xD0\xF2\\\xBB\xF9\xBD\xF0",          // 基金
      "D:\\\xB3\xCC\xD0\xF2\\\xD0\xD0\xC7\xE9",          // 行情
      "D:\\\xB3\xCC\xD0\xF2\\\xD7\xCA\xD1\xB6",          // 资讯
      "D:\\\xB3\xCC\xD0\xF2\\\xBD\xBB\xD2\xD7",          // 交易
      "D:\\\xB3\xCC\xD0\xF2\\\xCE\xAF\xCD\xD0",          // 委托
      "D:\\\xB3\xCC\xD0\xF2\\\xB3\xC9\xBD\xBB",          // 成交
      "D:\\\xB3\xCC\xD0\xF2\\\xB2\xE9\xD1\xAF",          // 查询
      "D:\\\xB3\xCC\xD0\xF2\\\xC9\xE8\xD6\xC3",          // 设置
      "D:\\\xB3\xCC\xD0\xF2\\\xB0\xEF\xD6\xFA",          // 帮助
      "D:\\\xB3\xCC\xD0\xF2\\\xB9\xAB\xB8\xE6",          // 公告
      "D:\\\xB3\xCC\xD0\xF2\\\xD1\xD0\xB1\xA8",          // 研报
      "D:\\\xB3\xCC\xD0\xF2\\\xD0\xC2\xCE\xC5",          // 新闻
      "D:\\\xB3\xCC\xD0\xF2\\\xB0\xE5\xBF\xE9",          // 板块
      "D:\\\xB3\xCC\xD0\xF2\\\xD6\xB8\xCA\xFD",          // 指数
      "D:\\\xB3\xCC\xD0\xF2\\\xC6\xDA\xBB\xF5",          // 期货
      "D:\\\xB3\xCC\xD0\xF2\\\xD5\xAE\xC8\xAF",          // 债券
      "D:\\\xB3\xCC\xD0\xF2\\\xB8\xDB\xB9\xC9",          // 港股
      "D:\\\xB3\xCC\xD0\xF2\\\xC3\xC0\xB9\xC9",          // 美股
  };
  return paths;
}

// A code page and the two-byte characters drawn from it: lead bytes from
// `firstLead` to `lastLead`, each with every trail byte of the two ranges.
struct CodePage {
  const char* name;  // as a declaration names it
  unsigned char firstLead, lastLead;
  unsigned char trails[2][2];  // [first, last] twice
};
// GB 2312's first level of hanzi; Big5's frequent hanzi; JIS X 0208's first
// level of kanji, rows 17 to 46.
inline const CodePage kGbk = {"GBK", 0xB0, 0xD6, {{0xA1, 0xFE}, {0xA1, 0xFE}}};
inline const CodePage kBig5 = {"Big5", 0xA4, 0xC5, {{0x40, 0x7E}, {0xA1, 0xFE}}};
inline const CodePage kShiftJis = {"Shift_JIS", 0x89, 0x97, {{0x40, 0x7E}, {0x80, 0xFC}}};

// Up to `characters` characters of the code page, a few of them ASCII
// letters, digits, blanks, backslashes and markup characters ('&', '<',
// '"').
inline std::string RandomText(const CodePage& page, std::mt19937& random, std::size_t characters) {
  static const char kAscii[] = "abcXYZ019 \\&<\"._";
  std::string text;
  for (std::size_t i = 0; i < characters; ++i) {
    if (random() % 4 == 0) {
      text += kAscii[random() % (sizeof kAscii - 1)];
      continue;
    }
    text += static_cast<char>(page.firstLead + random() % (page.lastLead - page.firstLead + 1));
    const auto& range = page.trails[random() % 2];
    text += static_cast<char>(range[0] + random() % (range[1] - range[0] + 1));
  }
  return text;
}

// Saves `texts` over `env` as a shortcut list (each a file) and as an update
// list (each a file, and its check where it fits), and expects both to be
// declared `encoding` and to read back byte for byte.
inline void ExpectReadBack(talvoro::Env& env, const std::vector<std::string>& texts,
                           const std::string& encoding) {
  TempDir dir;
  const std::string shortcutPath = dir / "shortcuts.xml", updatePath = dir / "updates.xml";
  std::vector<tagShortCutInfo> shortcuts(texts.size(), Zeroed<tagShortCutInfo>());
  CList<tagUpdateData, const tagUpdateData&> updates;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    Set(shortcuts[i].file, texts[i]);
    auto update = Zeroed<tagUpdateData>();
    Set(update.file, texts[i]);
    Set(update.check, texts[i].size() < sizeof update.check ? texts[i] : "");
    updates.AddTail(update);
  }
  const int count = static_cast<int>(texts.size());
  const talvoro::Status saved =
      talvoro::SaveShortcuts(env, shortcutPath.c_str(), shortcuts.data(), count);
  ASSERT_TRUE(saved.ok()) << saved.ToString();
  const talvoro::Status updated = talvoro::SaveUpdates(env, updatePath.c_str(), updates);
  ASSERT_TRUE(updated.ok()) << updated.ToString();

  const std::string declaration =
      "<?xml version=\"1.0\" encoding=\"" + encoding + "\" standalone=\"yes\" ?>";
  EXPECT_EQ(ReadFile(shortcutPath).substr(0, declaration.size()), declaration);
  EXPECT_EQ(ReadFile(updatePath).substr(0, declaration.size()), declaration);
  CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> shortcutsRead;
  CList<tagUpdateData, const tagUpdateData&> updatesRead;
  ASSERT_TRUE(CTinyXmlHelper::GetShutCutInfo(shortcutsRead, shortcutPath.c_str()));
  ASSERT_TRUE(CTinyXmlHelper::GetUpdateData(updatesRead, updatePath.c_str()));
  ASSERT_EQ(shortcutsRead.GetCount(), count);
  ASSERT_EQ(updatesRead.GetCount(), count);
  POSITION written = updates.GetHeadPosition(), read = updatesRead.GetHeadPosition();
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(std::string(shortcutsRead[i].file), texts[i]);
    const tagUpdateData& a = updates.GetNext(written);
    const tagUpdateData& b = updatesRead.GetNext(read);
    EXPECT_EQ(std::string(b.file), a.file);
    EXPECT_EQ(std::string(b.check), a.check);
  }
}

}  // namespace testutil

#endif  // TALVORO_TESTS_SUPPORT_CODE_PAGES_H_

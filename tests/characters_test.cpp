// Characters in a declared character set, and the writers' declaration when
// the records' text is not UTF-8.
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "api/writers.h"
#include "code_pages.h"
#include "fault_env.h"
#include "talvoro/diagnose.h"
#include "talvoro/talvoro.h"
#include "temp_dir.h"
#include "test_util.h"
#include "xml/encoding.h"

namespace {

using talvoro::Charset;
using talvoro::Env;
using talvoro::Reason;

// The lengths of the characters that `text` is made of in `charset`, a 0
// where no character begins (and the rest taken byte by byte).
std::vector<std::size_t> Lengths(Charset& charset, const std::string& text) {
  std::vector<std::size_t> lengths;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = charset.Next(text.data() + at, text.size() - at).length;
    lengths.push_back(length);
    at += length ? length : 1;
  }
  return lengths;
}

TEST(Characters, Utf8AsTheStandardHasIt) {
  const auto utf8 = talvoro::Utf8Charset();
  using L = std::vector<std::size_t>;
  EXPECT_EQ(Lengths(*utf8, "a\xC3\xA9\xE8\xA1\x8C\xF0\x9F\x98\x80"), (L{1, 2, 3, 4}));
  EXPECT_EQ(utf8->Next("\xE8\xA1\x8C", 3).code, U'\u884C');
  EXPECT_EQ(utf8->Next("\xF4\x8F\xBF\xBF", 4).code, U'\U0010FFFF');
  // Overlong forms, surrogates, beyond U+10FFFF, lone trail bytes, and
  // sequences that end early or hold a byte that is no trail byte.
  for (const char* bad : {"\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF",
                          "\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
                          "\x80", "\xBF", "\xE8\xA1", "\xE8\"\x8C", "\xC3\xC3", "\xFF"})
    EXPECT_EQ(utf8->Next(bad, std::strlen(bad)).length, 0u) << testing::PrintToString(bad);

  for (const char* name : {"", "UTF-8", "utf-8", "UTF8", "Utf-8-bom"})
    EXPECT_TRUE(talvoro::NamesUtf8(name)) << name;
  for (const char* name : {"GBK", "UTF-16", "UTF", "ISO-8859-1"})
    EXPECT_FALSE(talvoro::NamesUtf8(name)) << name;
}

TEST(Characters, TheSystemsSetsByTheirDeclaredNames) {
  Env& env = Env::Default();
  using L = std::vector<std::size_t>;
  // 行情 in GBK, a lead byte without its trail at the end.
  const auto gbk = talvoro::DeclaredCharset(env, "gb2312");
  ASSERT_TRUE(gbk);
  EXPECT_EQ(Lengths(*gbk,
                    "\xD0\xD0\xC7\xE9"
                    "a\xC7"),
            (L{2, 2, 1, 0}));
  EXPECT_EQ(gbk->Next("\xD0\xD0", 2).code, U'\u884C');
  // 行 in Big5 and in Shift_JIS; a Shift_JIS trail byte alone.
  const auto big5 = talvoro::DeclaredCharset(env, "Big5");
  ASSERT_TRUE(big5);
  EXPECT_EQ(Lengths(*big5, "\xA6\xE6x"), (L{2, 1}));
  EXPECT_EQ(big5->Next("\xA6\xE6", 2).code, U'\u884C');
  const auto sjis = talvoro::DeclaredCharset(env, "Shift_JIS");
  ASSERT_TRUE(sjis);
  EXPECT_EQ(Lengths(*sjis, "\x8D\x73\xA0"), (L{2, 0}));
  EXPECT_EQ(sjis->Next("\x8D\x73", 2).code, U'\u884C');
  // Every byte is a character of ISO-8859-1.
  const auto latin1 = talvoro::DeclaredCharset(env, "ISO-8859-1");
  ASSERT_TRUE(latin1);
  EXPECT_EQ(Lengths(*latin1, "\xE9\xFF\x80"), (L{1, 1, 1}));
  // The names TinyXML reads as UTF-8 are UTF-8 here too, whatever the system
  // calls them; what the system does not know has no set.
  const auto utf8 = talvoro::DeclaredCharset(env, "UTF8");
  EXPECT_EQ(Lengths(*utf8, "\xED\xA0\x80"), (L{0, 0, 0}));
  for (const char* unknown : {"no-such-encoding", "GBK//TRANSLIT", "UTF-16/"})
    EXPECT_FALSE(env.OpenCharset(unknown)) << unknown;
}

// A Chinese host's names in GBK: declared UTF-8, as the writers did before,
// 17 of the 20 would be saved as bytes that every reader takes for other
// characters, and the other three refused. In the host's code page they all
// save, each read back as written.
TEST(HostCharset, TextThatIsNotUtf8IsDeclaredInTheHostsCodePage) {
  testutil::FaultEnv env;
  env.PretendNarrowCharset("GBK");
  testutil::ExpectReadBack(env, testutil::GbkPaths(), "GBK");

  std::mt19937 random(20261209);
  for (const testutil::CodePage* page : {&testutil::kGbk, &testutil::kBig5, &testutil::kShiftJis}) {
    SCOPED_TRACE(page->name);
    env.PretendNarrowCharset(page->name);
    std::vector<std::string> texts;
    for (int i = 0; i < 40; ++i)
      texts.push_back(testutil::RandomText(*page, random, 1 + random() % 30));
    testutil::ExpectReadBack(env, texts, page->name);
  }
}

TEST(HostCharset, Utf8TextIsSavedAsBefore) {
  testutil::FaultEnv env;
  env.PretendNarrowCharset("GBK");
  // 行情 and 自选股 in UTF-8 beside ASCII: declared UTF-8, whatever the host.
  testutil::ExpectReadBack(env, {"D:\\\xE8\xA1\x8C\xE6\x83\x85", "a.exe", ""}, "UTF-8");

  testutil::TempDir dir;
  const std::string path = dir / "shortcuts.xml";
  auto shortcut = testutil::Zeroed<tagShortCutInfo>();
  testutil::Set(shortcut.file, "\xE8\xA1\x8C.exe");
  ASSERT_TRUE(talvoro::SaveShortcuts(env, path.c_str(), &shortcut, 1).ok());
  EXPECT_EQ(testutil::ReadFile(path),
            testutil::Lines("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n"
                            "<items>\n    <item file=\"\xE8\xA1\x8C.exe\"></item>\n</items>\n"));
}

// Where the host's own set is UTF-8, or the text is not text in it either,
// the document is declared UTF-8 as before: saved when it reads back, and
// refused, naming the item, when it would not.
TEST(HostCharset, NoCodePageToHoldTheText) {
  testutil::TempDir dir;
  const std::string path = dir / "shortcuts.xml";
  testutil::WriteFile(path, "kept");
  const auto save = [&](Env& env, const std::vector<std::string>& files) {
    std::vector<tagShortCutInfo> shortcuts(files.size(), testutil::Zeroed<tagShortCutInfo>());
    for (std::size_t i = 0; i < files.size(); ++i)
      testutil::Set(shortcuts[i].file, files[i]);
    return talvoro::SaveShortcuts(env, path.c_str(), shortcuts.data(),
                                  static_cast<int>(files.size()));
  };
  const std::string stocks = testutil::GbkPaths()[0];  // ends in 0xC9, a lead byte
  testutil::FaultEnv utf8Host;
  utf8Host.PretendNarrowCharset("");
  talvoro::Status status = save(utf8Host, {"a.exe", stocks});
  EXPECT_EQ(status.code(), Reason::kNotReadBack);
  EXPECT_EQ(status.detail(),
            "item 2: \"file\" is not UTF-8, and the host's character set is UTF-8");
  EXPECT_EQ(testutil::ReadFile(path), "kept");

  // 0xFF is no GBK byte.
  testutil::FaultEnv gbkHost;
  gbkHost.PretendNarrowCharset("GBK");
  status = save(gbkHost, {stocks + "\xFF" + stocks});
  EXPECT_EQ(status.code(), Reason::kNotReadBack);
  EXPECT_EQ(status.detail(), "item 1: \"file\" is not UTF-8, nor text in the host's GBK");
  EXPECT_EQ(testutil::ReadFile(path), "kept");

  // A byte that is not UTF-8 but reads back all the same is saved as before.
  ASSERT_TRUE(save(utf8Host, {"caf\xE9.exe"}).ok());
  EXPECT_NE(testutil::ReadFile(path).find("encoding=\"UTF-8\""), std::string::npos);
}

}  // namespace

namespace {

struct CharacterFinding {
  talvoro::FindingKind kind;
  int line, width, lost;
  std::string written;
};

// The diagnosis of a shortcut list: its reason, and its findings about
// characters (and cuts).
std::pair<Reason, std::vector<CharacterFinding>> DiagnoseShortcuts(const std::string& xml,
                                                                   talvoro::Outcome* outcome) {
  testutil::TempDir dir;
  testutil::WriteFile(dir / "s.xml", xml);
  std::vector<CharacterFinding> found;
  const Reason reason = talvoro::Diagnose(
      talvoro::DocumentKind::kShortcuts, (dir / "s.xml").c_str(), outcome,
      [](const talvoro::Finding* f, void* context) {
        static_cast<std::vector<CharacterFinding>*>(context)->push_back(
            {f->kind, f->line, f->width, f->lost, f->written});
      },
      &found);
  return {reason, found};
}

std::vector<CharacterFinding> Findings(const std::string& xml) {
  talvoro::Outcome outcome{};
  auto [reason, found] = DiagnoseShortcuts(xml, &outcome);
  EXPECT_EQ(reason, Reason::kOk) << outcome.detail;
  return found;
}

std::string Items(const char* declaration, const std::string& file) {
  return std::string(declaration) + "\n<items>\n<item file=\"" + file + "\"/>\n</items>\n";
}

using talvoro::FindingKind;

TEST(CharacterFindings, ACutInsideACharacterSaysHowMuchOfItIsKept) {
  const char* gbkDeclaration = "<?xml version=\"1.0\" encoding=\"GBK\"?>";
  std::string hanzi;
  for (int i = 0; i < 130; ++i)
    hanzi += "\xD0\xD0";  // 行
  // "a" then 129 characters fill the 259 bytes the field keeps: a cut
  // between characters. One byte more, and the cut leaves half of one.
  auto found = Findings(Items(gbkDeclaration, "a" + hanzi));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].kind, FindingKind::kTextCut);
  found = Findings(Items(gbkDeclaration, "ab" + hanzi));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[1].kind, FindingKind::kCutInCharacter);
  EXPECT_EQ(found[1].width, 260);
  EXPECT_EQ(found[1].lost, 1);

  // 行 takes three bytes in UTF-8 (declared, or not declared at all): two of
  // the 86th are kept.
  std::string utf8;
  for (int i = 0; i < 86; ++i)
    utf8 += "\xE8\xA1\x8C";
  for (const char* declaration : {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", ""}) {
    found = Findings(Items(declaration, "ab" + utf8));
    ASSERT_EQ(found.size(), 2u) << declaration;
    EXPECT_EQ(found[1].kind, FindingKind::kCutInCharacter);
    EXPECT_EQ(found[1].lost, 2);
    EXPECT_EQ(Findings(Items(declaration, "a" + utf8 + "z")).size(), 1u);
  }
}

TEST(CharacterFindings, TextThatIsNotValidInItsEncoding) {
  // In UTF-8, each run of bytes that begins no character, as TinyXML reads
  // it: 0xFF alone, then 0xD0 with the byte after it; 0xE3 with the "&a" of
  // "&amp;", so that the host receives the entity unread.
  const auto found = Findings(Items("<?xml version=\"1.0\" encoding=\"utf-8\"?>",
                                    "a\xFF\xD0\xD0"
                                    "b\xE3&amp;c\xE8\xA1\x8C"));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].kind, FindingKind::kNotText);
  EXPECT_EQ(found[0].line, 3);
  EXPECT_EQ(found[0].width, 2);
  EXPECT_EQ(found[0].lost, 3);
  EXPECT_EQ(found[0].written,
            "a\xFF\xD0\xD0"
            "b\xE3&amp;c\xE8\xA1\x8C");
  EXPECT_EQ(found[1].width, 6);
  EXPECT_EQ(found[1].lost, 3);

  // Read byte by byte (no declaration), each byte is its own.
  const auto bytewise = Findings(Items("",
                                       "a\xE3"
                                       "bc"));
  ASSERT_EQ(bytewise.size(), 1u);
  EXPECT_EQ(bytewise[0].lost, 1);

  // In Big5 0xFF begins nothing; 行 (A6 E6) is text.
  const auto big5 = Findings(Items("<?xml version=\"1.0\" encoding=\"Big5\"?>", "\xA6\xE6\xFFx"));
  ASSERT_EQ(big5.size(), 1u);
  EXPECT_EQ(big5[0].width, 3);
  EXPECT_EQ(big5[0].lost, 1);

  // An encoding the system does not know: said once, its text unchecked.
  const auto unknown =
      Findings(Items("<?xml version=\"1.0\" encoding=\"x-unheard-of\"?>", "\xFF\xFE"));
  ASSERT_EQ(unknown.size(), 1u);
  EXPECT_EQ(unknown[0].kind, FindingKind::kUnknownEncoding);
  EXPECT_EQ(unknown[0].line, 1);
  EXPECT_EQ(unknown[0].written, "x-unheard-of");
}

// A lead byte just before a closing quote takes the quote along, and the
// document no longer parses: the error says so, at the lead byte.
TEST(CharacterFindings, AQuoteSwallowedByALeadByteIsNamedInTheError) {
  talvoro::Outcome outcome{};
  const auto found = DiagnoseShortcuts(
                         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<items>\n"
                         "  <item file=\"\xE8\xA1\x8C\xE6\" >\n  </item>\n</items>\n",
                         &outcome)
                         .first;
  EXPECT_EQ(found, Reason::kMalformed);
  EXPECT_EQ(outcome.line, 3);
  EXPECT_EQ(outcome.column, 18);
  EXPECT_NE(std::string(outcome.detail).find("the lead byte 0xE6 takes the 2 bytes after it"),
            std::string::npos)
      << outcome.detail;

  // The same bytes read byte by byte parse.
  EXPECT_EQ(DiagnoseShortcuts("<items><item file=\"\xE6\" /></items>", &outcome).first,
            Reason::kOk);
}

TEST(CharacterFindings, TheDeclaredEncodingAndTheCharacterSetsOfTheInterface) {
  testutil::TempDir dir;
  const std::string path = dir / "d.xml";
  const auto declared = [&](const std::string& xml, int size = 64) {
    testutil::WriteFile(path, xml);
    char name[64] = "unchanged";
    EXPECT_EQ(talvoro::DeclaredEncoding(path.c_str(), name, size), Reason::kOk);
    return std::string(name);
  };
  EXPECT_EQ(declared("<?xml version=\"1.0\" encoding=\"gb2312\"?><a/>"), "gb2312");
  EXPECT_EQ(declared("<?xml version=\"1.0\" encoding=\"gb2312\"?><a/>", 3), "gb");
  EXPECT_EQ(declared("<?xml version=\"1.0\"?><a/>"), "UTF-8");
  EXPECT_EQ(declared("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"GBK\"?><a/>"), "UTF-8");
  EXPECT_EQ(declared("<a/><?xml version=\"1.0\" encoding=\"Big5\"?>"), "Big5");
  EXPECT_EQ(declared("<a/>"), "");
  char name[8] = "x";
  EXPECT_EQ(talvoro::DeclaredEncoding((dir / "none.xml").c_str(), name, sizeof name),
            Reason::kMissing);
  EXPECT_STREQ(name, "");

  talvoro::CharacterSet* gbk = talvoro::OpenCharacterSet("GBK");
  ASSERT_TRUE(gbk);
  unsigned code = 0;
  EXPECT_EQ(talvoro::NextCharacter(gbk, "\xD0\xD0", 2, &code), 2);
  EXPECT_EQ(code, 0x884Cu);
  EXPECT_EQ(talvoro::NextCharacter(gbk, "\xD0\xD0", 1, &code), 0);
  EXPECT_EQ(talvoro::NextCharacter(gbk, "\xD0\xD0", 0, &code), 0);
  talvoro::CloseCharacterSet(gbk);
  EXPECT_FALSE(talvoro::OpenCharacterSet("x-unheard-of"));
}

}  // namespace

// Every document function on files that are no configuration document: each
// gives false or sound records (text terminated within its field, containers
// and files untouched on false), and returns at once, without a crash, an
// exception or a leak (the sanitizer build checks the last).
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "api/writers.h"
#include "document_calls.h"
#include "fault_env.h"
#include "talvoro/diagnose.h"
#include "talvoro/talvoro.h"
#include "test_util.h"

namespace {

using testutil::AllCalls;
using testutil::CallKind;
using testutil::DocumentCall;

std::string Example(const DocumentCall& call) {
  return testutil::ReadFile(std::string(TALVORO_EXAMPLES_DIR "/") + call.example);
}

// Writers write their reader's records from the example.
std::string RecordsFor(const DocumentCall& call) {
  if (!call.recordsFrom) return "";
  return testutil::FindCall(call.recordsFrom)
      ->run(std::string(TALVORO_EXAMPLES_DIR "/") + call.example, "")
      .bytes;
}

// Calls `call` on `path` after `prepare`; the outcome must be sound, and
// false where `mustFail` and the call reads the file.
void ExpectSound(
    const DocumentCall& call, const std::string& what, const std::string& path, bool mustFail,
    const std::function<void()>& prepare = [] {}) {
  prepare();
  const testutil::CallOutcome outcome = call.run(path, RecordsFor(call));
  EXPECT_EQ(outcome.fault, "") << call.name << " on " << what;
  if (mustFail && call.kind != CallKind::kWriter) {
    EXPECT_FALSE(outcome.result) << call.name << " on " << what;
  }
}

// Every call on a file holding `bytes`, written afresh before each call.
void ExpectSoundOnContent(const std::string& what, const std::string& bytes, bool mustFail) {
  testutil::TempDir dir;
  const std::string path = dir / "document.xml";
  for (const DocumentCall& call : AllCalls())
    ExpectSound(call, what, path, mustFail, [&] { testutil::WriteFile(path, bytes); });
}

TEST(BadInput, DocumentsWithoutAnElement) {
  const struct {
    const char* what;
    const char* bytes;
  } cases[] = {
      {"an empty file", ""},
      {"white space only", " \r\n\t "},
      {"a byte order mark only", "\xEF\xBB\xBF"},
      {"only a declaration", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"},
      {"only a comment", "<!-- nothing here -->"},
      {"a declaration and a comment", "<?xml version='1.0'?>\n<!-- <items> -->\n"},
      {"a DOCTYPE only", "<!DOCTYPE items>"},
  };
  for (const auto& c : cases)
    ExpectSoundOnContent(c.what, c.bytes, true);
}

TEST(BadInput, TruncatedDocuments) {
  for (const DocumentCall& call : AllCalls()) {
    const std::string whole = Example(call);
    testutil::TempDir dir;
    const std::string path = dir / "document.xml";
    for (int tenth = 1; tenth < 10; ++tenth) {
      const std::string cut = whole.substr(0, whole.size() * tenth / 10);
      ExpectSound(call, std::to_string(tenth) + "/10 of " + call.example, path, true,
                  [&] { testutil::WriteFile(path, cut); });
    }
    const std::string unclosed = whole.substr(0, whole.rfind('>'));
    ExpectSound(call, "the example without its last '>'", path, true,
                [&] { testutil::WriteFile(path, unclosed); });
  }
}

TEST(BadInput, BinaryGarbageAndOtherEncodings) {
  std::mt19937 random(7);
  for (const std::string& alphabet : {std::string(), std::string("<>/=\"'!?-[]&#;x \xE0\xEF")}) {
    for (int n = 0; n < 3; ++n) {
      std::string bytes(4096, '\0');
      for (char& byte : bytes) {
        byte =
            alphabet.empty() ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
      }
      ExpectSoundOnContent("garbage", bytes, false);
    }
  }
  // UTF-16 in both byte orders: TinyXML reads bytes, up to the first zero.
  const std::string text = testutil::ReadFile(TALVORO_EXAMPLES_DIR "/services.xml");
  std::string little = "\xFF\xFE", big = "\xFE\xFF";
  for (const char c : text) {
    little += c;
    little += '\0';
    big += '\0';
    big += c;
  }
  ExpectSoundOnContent("UTF-16LE", little, true);
  ExpectSoundOnContent("UTF-16BE", big, true);
  // Each is named by its first bytes: a byte-order mark, or the zero bytes
  // around ASCII; UTF-8, with its mark or without, is none of them.
  using namespace std::string_view_literals;
  const std::pair<std::string_view, const char*> wide[] = {
      {"\xFF\xFE<\0r\0"sv, "UTF-16LE (byte-order mark)"},
      {"\xFE\xFF\0<\0r"sv, "UTF-16BE (byte-order mark)"},
      {"\xFF\xFE\0\0<\0\0\0"sv, "UTF-32LE (byte-order mark)"},
      {"\0\0\xFE\xFF\0\0\0<"sv, "UTF-32BE (byte-order mark)"},
      {"<\0r\0/\0>\0"sv, "UTF-16LE"},
      {"\0<\0r\0/\0>"sv, "UTF-16BE"},
      {"<\0\0\0r\0\0\0"sv, "UTF-32LE"},
      {"\0\0\0<\0\0\0r"sv, "UTF-32BE"},
      {"<r/>"sv, nullptr},
      {"\xEF\xBB\xBF<r/>"sv, nullptr},
  };
  testutil::TempDir dir;
  for (const auto& [bytes, named] : wide) {
    testutil::WriteFile(dir / "wide.xml", std::string(bytes));
    talvoro::Outcome outcome{};
    talvoro::Diagnose(talvoro::DocumentKind::kShortcuts, (dir / "wide.xml").c_str(), &outcome,
                      nullptr, nullptr);
    EXPECT_EQ(outcome.reason == talvoro::Reason::kWideText, named != nullptr) << outcome.detail;
    EXPECT_STREQ(outcome.detail, named ? named : "") << "the bytes " << bytes.size();
  }
}

// The example with its attribute values replaced (after the declaration):
// all of them, or only the first.
std::string WithValues(const std::string& example, const std::string& value, bool firstOnly) {
  const std::size_t declaration = example.find("?>");
  std::size_t at = declaration == std::string::npos ? 0 : declaration + 2;
  std::string result = example.substr(0, at);
  for (std::size_t open; (open = example.find("=\"", at)) != std::string::npos;) {
    const std::size_t close = example.find('"', open + 2);
    if (close == std::string::npos) break;
    result += example.substr(at, open + 2 - at) + value;
    at = close;
    if (firstOnly) break;
  }
  return result + example.substr(at);
}

TEST(BadInput, TextLongerThanEveryField) {
  for (const DocumentCall& call : AllCalls()) {
    testutil::TempDir dir;
    const std::string path = dir / "document.xml";
    const std::string longText = WithValues(Example(call), std::string(300, '7'), false);
    ExpectSound(call, "300-byte values", path, false, [&] { testutil::WriteFile(path, longText); });
    const std::string huge = WithValues(Example(call), std::string(5 << 20, 'h'), true);
    ExpectSound(call, "a 5 MiB value", path, false, [&] { testutil::WriteFile(path, huge); });
  }
}

TEST(BadInput, PathsThatNameNoDocument) {
  testutil::TempDir dir;
  testutil::WriteFile(dir / "plain", "<items/>");
  const struct {
    const char* what;
    std::string path;
  } cases[] = {
    {"an empty path", ""},
    {"a missing file", dir / "missing.xml"},
    {"a path through a file", dir / "plain/document.xml"},
    {"a name longer than the system allows", dir / std::string(300, 'n')},
    {"a directory", dir.path()},
#if defined(_WIN32)
    {"NUL", "NUL"},
    {"CON", "CON"},
    {"a device path", "\\\\.\\NUL"},
    {"a wildcard", dir / "*"},
#else
    {"a FIFO without a writer", dir / "fifo"},
    {"/dev/null", "/dev/null"},
    {"/dev/zero", "/dev/zero"},
#endif
  };
#if !defined(_WIN32)
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
#endif
  for (const auto& c : cases) {
    for (const DocumentCall& call : AllCalls()) {
      ExpectSound(call, c.what, c.path, true, [&] { std::remove((dir / "missing.xml").c_str()); });
    }
  }
}

#if defined(_WIN32)
// A document that another process holds without read sharing cannot be read:
// every reader gives false after a short wait, and nothing changes.
TEST(BadInput, AFileHeldWithoutSharing) {
  testutil::TempDir dir;
  const std::string path = dir / "held.xml";
  for (const DocumentCall& call : AllCalls()) {
    if (call.kind == CallKind::kWriter) continue;  // writers are the save tests' concern
    testutil::WriteFile(path, Example(call));
    const HANDLE held = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ExpectSound(call, "a file held without sharing", path, true);
    ::CloseHandle(held);
    EXPECT_EQ(testutil::ReadFile(path), Example(call)) << call.name;
  }
}
#else
TEST(BadInput, AFileWithoutReadPermission) {
  // Unreadable for anyone but root; as root the call reads it like any file.
  testutil::TempDir dir;
  const std::string locked = dir / "locked.xml";
  for (const DocumentCall& call : AllCalls()) {
    ExpectSound(call, "a file without read permission", locked, ::geteuid() != 0, [&] {
      ::chmod(locked.c_str(), 0600);
      testutil::WriteFile(locked, Example(call));
      ::chmod(locked.c_str(), 0);
    });
  }
}
#endif

// TinyXML does not read back every text it prints: in a UTF-8 document a
// value ending in a UTF-8 lead byte (as GBK text may) swallows its closing
// quote. A save that would not load back as the same document fails and
// keeps the old file. (The writers of new documents are taken on a host
// whose own character set is UTF-8: elsewhere they declare the host's.)
TEST(BadInput, SavesThatWouldNotReadBackKeepTheOldFile) {
  testutil::TempDir dir;
  const std::string path = dir / "document.xml";
  const std::string old = "<items><item file='kept'/></items>";
  testutil::FaultEnv utf8Host;
  utf8Host.PretendNarrowCharset("");

  auto gbk = tagShortCutInfo();
  std::strcpy(gbk.file, "C:\\\xB5\xE3");  // a GBK character ends in 0xE3
  testutil::WriteFile(path, old);
  EXPECT_FALSE(talvoro::SaveShortcuts(utf8Host, path.c_str(), &gbk, 1).ok());
  EXPECT_EQ(testutil::ReadFile(path), old);

  // A lead byte takes the '&' of "&amp;" along: the value would read back as
  // "a\xC3&amp;b", in a document of the same shape.
  std::strcpy(gbk.file, "a\xC3&b");
  EXPECT_FALSE(talvoro::SaveShortcuts(utf8Host, path.c_str(), &gbk, 1).ok());
  EXPECT_EQ(testutil::ReadFile(path), old);

  auto update = tagUpdateData();
  std::strcpy(update.check, "\xE3");
  EXPECT_FALSE(talvoro::SaveUpdates(utf8Host, path.c_str(), &update, 1).ok());
  EXPECT_EQ(testutil::ReadFile(path), old);

  // Read unquoted, byte by byte, the value loads; printed quoted, it would not.
  const std::string unquoted = "\xEF\xBB\xBF<items><item file=a\xE3/></items>";
  testutil::WriteFile(path, unquoted);
  auto desk = tagShortCutInfo();
  std::strcpy(desk.file, "desk.exe");
  EXPECT_FALSE(CTinyXmlHelper::DeleteShutCutInfo(path.c_str(), desk));
  auto soft = tagSoftData();
  EXPECT_FALSE(CTinyXmlHelper::SetSoftVersion(soft, path.c_str()));
  EXPECT_EQ(testutil::ReadFile(path), unquoted);

  // The encoding "&" (legacy) prints as encoding="&", which reads as "" (UTF-8),
  // and then the value reads back otherwise: saved, it would load changed.
  const std::string relabelled =
      "<?xml version=\"1.0\" encoding=\"&amp;\"?>"
      "<items><item file=\"a\xE3&amp;\"/><item file=\"desk.exe\"/></items>";
  testutil::WriteFile(path, relabelled);
  EXPECT_FALSE(CTinyXmlHelper::DeleteShutCutInfo(path.c_str(), desk));
  EXPECT_EQ(testutil::ReadFile(path), relabelled);
}

}  // namespace

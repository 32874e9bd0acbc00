// Paths that no ANSI code page holds, and paths past MAX_PATH, through the
// wide-character twins of the C interface and the host helper; and narrow
// paths in the locale's code page, a double-byte character whose second
// byte is a backslash's among them. Run in each host locale (locale_test.cpp
// has the main).
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "c_calls.h"
#include "os/env.h"
#include "talvoro/c.h"
#include "talvoro/host_helper.h"
#include "talvoro/talvoro.h"
#include "temp_dir.h"
#include "test_util.h"

namespace {

using testutil::Recorder;

std::wstring Widen(const std::string& ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

// "\\?\" before an absolute path too long for MAX_PATH: how the test itself
// reaches any folder.
std::wstring Long(const std::wstring& path) {
  return path.size() < MAX_PATH ? path : L"\\\\?\\" + path;
}

void MakeFolders(const std::wstring& root, const std::wstring& relative) {
  std::wstring path = root;
  for (std::size_t at = 0; at <= relative.size();) {
    const std::size_t end = std::min(relative.find(L'\\', at), relative.size());
    path += L"\\" + relative.substr(at, end - at);
    ASSERT_TRUE(::CreateDirectoryW(Long(path).c_str(), nullptr))
        << ::GetLastError() << " " << talvoro::PathFromWide(path.c_str());
    at = end + 1;
  }
}

void Put(const std::wstring& path, const std::string& bytes) {
  const HANDLE file = ::CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

std::vector<std::wstring> Entries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  const HANDLE search = ::FindFirstFileW(Long(folder + L"\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(search, &data));
  ::FindClose(search);
  return names;
}

struct WideReader {
  const char* example;
  testutil::CRead narrow;
  talvoro_reason (*wide)(const wchar_t*, const talvoro_sink*, talvoro_outcome*);
};
const WideReader kReaders[] = {
#define TALVORO_WIDE_ROW(kind, cname, word, name, member, creader, writers, example) \
  {example, &creader, &creader##_w},
    TALVORO_DOCUMENTS(TALVORO_WIDE_ROW)
#undef TALVORO_WIDE_ROW
};

tagShortCutInfo Shortcut(const std::string& file) {
  auto shortcut = testutil::Zeroed<tagShortCutInfo>();
  testutil::Set(shortcut.file, file);
  return shortcut;
}

class WidePaths : public ::testing::Test {
 protected:
  WidePaths() : root_(Widen(dir_.path())) {}
  testutil::TempDir dir_;
  std::wstring root_;
};

// Hangul (in none of the locales' code pages), a character beyond the BMP,
// and a folder whose path passes 300 characters.
TEST_F(WidePaths, EveryCallWorksInFoldersOutsideTheCodePageAndPastMaxPath) {
  const std::wstring deep = std::wstring(70, L'd') + L"\\" + std::wstring(70, L'e') + L"\\" +
                            std::wstring(70, L'f') + L"\\" + std::wstring(70, L'g');
  for (const std::wstring& relative :
       {std::wstring(L"\uD55C\uAE00 \uD3F4\uB354"), std::wstring(L"emoji \U0001F600"), deep}) {
    SCOPED_TRACE(relative.size());
    MakeFolders(root_, relative);
    const std::wstring folder = root_ + L"\\" + relative;
    if (relative == deep) {
      ASSERT_GT(folder.size() + 20, 300u);
    }

    for (const WideReader& reader : kReaders) {
      const std::string original = std::string(TALVORO_EXAMPLES_DIR) + "/" + reader.example;
      const std::wstring path = folder + L"\\" + Widen(reader.example);
      Put(path, testutil::ReadFile(original));
      Recorder expected, got;
      const talvoro_sink expectedSink = expected.Sink(), gotSink = got.Sink();
      ASSERT_EQ(reader.narrow(original.c_str(), &expectedSink, nullptr), TALVORO_REASON_OK);
      EXPECT_EQ(reader.wide(path.c_str(), &gotSink, nullptr), TALVORO_REASON_OK) << reader.example;
      EXPECT_EQ(got.events, expected.events) << reader.example;
    }
    EXPECT_EQ(talvoro_diagnose_w(TALVORO_DOCUMENT_SHORTCUTS, (folder + L"\\shortcuts.xml").c_str(),
                                 nullptr, nullptr, nullptr),
              TALVORO_REASON_OK);
    EXPECT_EQ(talvoro_is_file_exist_w((folder + L"\\*.xml").c_str()), 1);
    EXPECT_EQ(talvoro_is_file_exist_w((folder + L"\\s?rvers.xml").c_str()), 1);
    EXPECT_EQ(talvoro_is_file_exist_w((folder + L"\\none*.xml").c_str()), 0);
    EXPECT_TRUE(talvoro::HostHelper::IsFileExist(folder.c_str()));

    // Each writer over an existing document (replaced) and a new one
    // (renamed into place), the new file's name outside the code page too.
    const std::wstring created = folder + L"\\\uC0C8 \U0001F600.xml";
    const tagShortCutInfo shortcuts[] = {Shortcut("a.exe"), Shortcut("b.exe")};
    for (const std::wstring& target : {folder + L"\\shortcuts.xml", created}) {
      EXPECT_EQ(talvoro_write_shortcut_info_w(target.c_str(), shortcuts, 2, nullptr),
                TALVORO_REASON_OK);
      CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> read;
      ASSERT_TRUE(talvoro::HostHelper::GetShutCutInfo(read, target.c_str()));
      ASSERT_EQ(read.GetCount(), 2);
      EXPECT_STREQ(read[1].file, "b.exe");
      talvoro_outcome outcome = {sizeof outcome, 0, 0, 0, 0, {0}};
      EXPECT_EQ(talvoro_delete_shortcut_info_w(target.c_str(), &shortcuts[0], &outcome),
                TALVORO_REASON_OK);
      EXPECT_EQ(outcome.changed, 1);
    }
    auto soft = testutil::Zeroed<tagSoftData>();
    soft.id = 1;
    EXPECT_EQ(talvoro_set_soft_version_w(&soft, (folder + L"\\software.xml").c_str(), nullptr),
              TALVORO_REASON_OK);
    const tagUpdateData update = testutil::Zeroed<tagUpdateData>();
    EXPECT_EQ(talvoro_write_update_file_w((folder + L"\\updates.xml").c_str(), &update, 1, nullptr),
              TALVORO_REASON_OK);
    for (const std::wstring& name : Entries(folder))
      EXPECT_EQ(name.find(L".talvoro-"), std::wstring::npos) << "a save's file was left";
  }

  // Relative, and past MAX_PATH once the working folder is before it.
  wchar_t previous[MAX_PATH];
  ASSERT_GT(::GetCurrentDirectoryW(MAX_PATH, previous), 0u);
  ASSERT_TRUE(::SetCurrentDirectoryW(root_.c_str()));
  const std::wstring relative = deep + L"\\relative.xml";
  const tagShortCutInfo one = Shortcut("r.exe");
  EXPECT_EQ(talvoro_write_shortcut_info_w(relative.c_str(), &one, 1, nullptr), TALVORO_REASON_OK);
  EXPECT_EQ(talvoro_get_shortcut_info_w(relative.c_str(), nullptr, nullptr), TALVORO_REASON_OK);
  EXPECT_EQ(talvoro_is_file_exist_w((deep + L"\\rel*.xml").c_str()), 1);
  ::SetCurrentDirectoryW(previous);

  // A null path is refused by every twin, as by the narrow functions.
  talvoro_outcome outcome = {sizeof outcome, 0, 0, 0, 0, {0}};
  EXPECT_EQ(talvoro_get_version_w(nullptr, nullptr, &outcome), TALVORO_REASON_INVALID_ARGUMENT);
  EXPECT_STREQ(outcome.detail, "the path is null");
  EXPECT_EQ(talvoro_is_file_exist_w(nullptr), 0);
}

// Narrow paths in the locale's code page: 表 ends in the byte of a backslash
// in Shift_JIS.
TEST_F(WidePaths, NarrowPathsInTheCodePageStillWork) {
  for (const std::wstring& name : {std::wstring(L"\u884C\u60C5"), std::wstring(L"\u8868")}) {
    MakeFolders(root_, name);
    const std::wstring wide = root_ + L"\\" + name + L"\\" + name;
    char narrow[MAX_PATH];
    BOOL lost = FALSE;
    ASSERT_GT(
        ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow, sizeof narrow, nullptr, &lost),
        0);
    ASSERT_FALSE(lost) << "every locale's code page has these";
    const tagShortCutInfo one = Shortcut("n.exe");
    EXPECT_EQ(talvoro_write_shortcut_info(narrow, &one, 1, nullptr), TALVORO_REASON_OK);
    EXPECT_EQ(talvoro_get_shortcut_info_w(wide.c_str(), nullptr, nullptr), TALVORO_REASON_OK);
    EXPECT_TRUE(CTinyXmlHelper::IsFileExist(narrow));
    EXPECT_EQ(Entries(root_ + L"\\" + name), std::vector<std::wstring>{name});
  }
}

}  // namespace

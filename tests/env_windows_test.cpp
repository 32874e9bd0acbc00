// The Windows file layer on its own: path arithmetic with drive letters, UNC
// paths and both separators; what reading refuses and why; what Inspect
// tells of a target; a temporary file that nobody else may open or delete.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "os/env.h"
#include "test_util.h"

namespace {

using talvoro::Env;
using talvoro::FileFacts;
using talvoro::Reason;
using talvoro::Status;

TEST(WindowsEnv, SplitAndJoinKnowDrivesUncPathsAndBothSeparators) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
    const char* joined;  // Join(folder, name)
  } cases[] = {
      {"doc.xml", ".", "doc.xml", ".\\doc.xml"},
      {"dir\\doc.xml", "dir", "doc.xml", "dir\\doc.xml"},
      {"dir/sub/doc.xml", "dir/sub", "doc.xml", "dir/sub\\doc.xml"},
      {"dir\\sub/doc.xml", "dir\\sub", "doc.xml", "dir\\sub\\doc.xml"},
      {"C:\\doc.xml", "C:\\", "doc.xml", "C:\\doc.xml"},
      {"C:/doc.xml", "C:/", "doc.xml", "C:/doc.xml"},
      {"C:doc.xml", "C:", "doc.xml", "C:doc.xml"},  // the drive's current folder
      {"C:\\dir\\doc.xml", "C:\\dir", "doc.xml", "C:\\dir\\doc.xml"},
      {"\\doc.xml", "\\", "doc.xml", "\\doc.xml"},
      {"\\\\server\\share\\doc.xml", "\\\\server\\share\\", "doc.xml",
       "\\\\server\\share\\doc.xml"},
      {"\\\\server\\share\\dir\\doc.xml", "\\\\server\\share\\dir", "doc.xml",
       "\\\\server\\share\\dir\\doc.xml"},
      {"//server/share/doc.xml", "//server/share/", "doc.xml", "//server/share/doc.xml"},
      {"dir\\", "dir", "", "dir\\"},
      {"C:\\", "C:\\", "", "C:\\"},
      {"\\\\server\\share", "\\\\server\\share", "", "\\\\server\\share\\"},
  };
  const Env& env = Env::Default();
  for (const auto& c : cases) {
    std::string folder, name;
    env.Split(c.path, &folder, &name);
    EXPECT_EQ(folder, c.folder) << c.path;
    EXPECT_EQ(name, c.name) << c.path;
    EXPECT_EQ(env.Join(folder, name), c.joined) << c.path;
  }
  EXPECT_STREQ(env.LineBreak(), "\r\n");
}

TEST(WindowsEnv, ReadingRefusesWhatIsNoDiskFileAndSaysWhy) {
  testutil::TempDir dir;
  testutil::WriteFile(dir / "held.xml", "<a/>");
  const HANDLE held = ::CreateFileA((dir / "held.xml").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const struct {
    std::string path;
    Reason code;
  } cases[] = {
      {dir / "missing.xml", Reason::kMissing}, {dir / "missing\\doc.xml", Reason::kMissing},
      {dir.path(), Reason::kNotRegular},       {"NUL", Reason::kNotRegular},
      {dir / "held.xml", Reason::kUnreadable},  // a sharing violation, retried, then given up
  };
  for (const auto& c : cases) {
    std::unique_ptr<talvoro::ReadableFile> file;
    std::uint64_t size = 0;
    const Status status = Env::Default().OpenForReading(c.path, &file, &size);
    EXPECT_EQ(status.code(), c.code) << c.path << ": " << status.ToString();
    EXPECT_EQ(file, nullptr) << c.path;
  }
  std::unique_ptr<talvoro::ReadableFile> file;
  std::uint64_t size = 0;
  EXPECT_NE(Env::Default().OpenForReading(dir / "held.xml", &file, &size).detail().find("32)"),
            std::string::npos)
      << "the system's message and ERROR_SHARING_VIOLATION";
  ::CloseHandle(held);
  ASSERT_TRUE(Env::Default().OpenForReading(dir / "held.xml", &file, &size).ok());
  EXPECT_EQ(size, 4u);
}

TEST(WindowsEnv, InspectTellsWhatASaveMustKnow) {
  testutil::TempDir dir;
  testutil::WriteFile(dir / "doc.xml", "<a/>");
  testutil::WriteFile(dir / "locked.xml", "<a/>");
  ASSERT_TRUE(::SetFileAttributesA((dir / "locked.xml").c_str(), FILE_ATTRIBUTE_READONLY));
  testutil::WriteFile(dir / "linked.xml", "<a/>");
  ASSERT_TRUE(
      ::CreateHardLinkA((dir / "link2.xml").c_str(), (dir / "linked.xml").c_str(), nullptr));
  const struct {
    std::string path;
    bool exists, regular, writable;
    std::uint64_t links;
  } cases[] = {
      {dir / "doc.xml", true, true, true, 1},        {dir / "locked.xml", true, true, false, 1},
      {dir / "linked.xml", true, true, true, 2},     {dir.path(), true, false, true, 1},
      {dir / "missing.xml", false, false, false, 0},
  };
  for (const auto& c : cases) {
    FileFacts facts;
    ASSERT_TRUE(Env::Default().Inspect(c.path, &facts).ok()) << c.path;
    EXPECT_EQ(facts.exists, c.exists) << c.path;
    EXPECT_EQ(facts.regular, c.regular) << c.path;
    if (c.regular) {
      EXPECT_EQ(facts.writable, c.writable) << c.path;
      EXPECT_EQ(facts.links, c.links) << c.path;
    }
  }
  FileFacts facts;
  EXPECT_EQ(Env::Default().Inspect(dir / "missing\\doc.xml", &facts).code(),
            Reason::kFolderMissing);
}

TEST(WindowsEnv, ATemporaryFileIsItsSaversAloneAndGoesUnlessPublished) {
  testutil::TempDir dir;
  std::string path;
  {
    std::unique_ptr<talvoro::TemporaryFile> file;
    ASSERT_TRUE(Env::Default().CreateTemporary(dir.path(), FileFacts(), &file).ok());
    path = file->Path();
    EXPECT_TRUE(talvoro::IsTemporaryName(std::filesystem::path(path).filename().string()));
    // Nobody else opens it, and no other save removes it as a leftover.
    const HANDLE other = ::CreateFileA(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    EXPECT_FALSE(Env::Default().RemoveAbandoned(path).ok());
    std::size_t written = 0;
    ASSERT_TRUE(file->Write("<a/>", 4, &written).ok());
    ASSERT_TRUE(file->Sync().ok());
    ASSERT_TRUE(file->Link().ok());
    EXPECT_EQ(file->Path(), path);
    EXPECT_EQ(testutil::Entries(dir.path()).size(), 1u);
  }
  EXPECT_TRUE(testutil::Entries(dir.path()).empty()) << "an unpublished file is removed";
}

}  // namespace

// Saving on Windows: a target that another process holds without delete
// sharing, a read-only target and one with further hard links each keep the
// old file to the byte, with nothing left beside it; a replaced file keeps its
// attributes; a live save's temporary file survives another save's tidying.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <future>
#include <set>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "fault_env.h"
#include "test_util.h"
#include "writers.h"
#include "xml/document.h"

namespace {

using talvoro::Reason;
using talvoro::Status;
using testutil::Entries;
using testutil::LargeDocument;
using testutil::ReadFile;
using testutil::WriteFile;
using testutil::Writers;

// Loads `path`, removes its first element and saves it back.
Status Edit(talvoro::Env& env, const std::string& path) {
  talvoro::XmlDocument doc(env);
  const auto [status, root] = doc.Load(path.c_str());
  if (!root) return status;
  root->RemoveChild(root->FirstChildElement());
  return doc.Save(path.c_str());
}

std::size_t Temporaries(const std::string& folder) {
  std::size_t count = 0;
  for (const std::string& name : Entries(folder))
    count += talvoro::IsTemporaryName(name);
  return count;
}

TEST(WindowsSave, ATargetHeldWithoutDeleteSharingMakesEveryWriterFail) {
  // No sharing at all refuses the editors' reading too; read and write
  // sharing lets them read but not replace the file.
  for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
    for (const auto& [name, write] : Writers()) {
      testutil::TempDir dir;
      const std::string path = dir / "doc.xml";
      const std::string old = LargeDocument();
      WriteFile(path, old);
      const HANDLE held = ::CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(held, INVALID_HANDLE_VALUE);
      EXPECT_FALSE(write(path)) << name << " share " << share;
      const Status status = Edit(talvoro::Env::Default(), path);
      ::CloseHandle(held);
      EXPECT_EQ(status.code(), share ? Reason::kRenameFailed : Reason::kUnreadable) << name;
      EXPECT_NE(status.detail(), "") << name;
      EXPECT_EQ(ReadFile(path), old) << name;
      EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"doc.xml"}) << name;
      // Released, the same call succeeds.
      EXPECT_TRUE(write(path)) << name;
      EXPECT_NE(ReadFile(path), old) << name;
      EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"doc.xml"}) << name;
    }
  }
}

TEST(WindowsSave, ReadOnlyAndMultiplyLinkedTargetsAreNotReplaced) {
  testutil::TempDir dir;
  const std::string path = dir / "doc.xml";
  const std::string old = LargeDocument();
  for (const auto& [name, write] : Writers()) {
    WriteFile(path, old);
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(write(path)) << name;
    EXPECT_EQ(ReadFile(path), old) << name;
    EXPECT_EQ(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY,
              DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"doc.xml"}) << name;
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));

    // A second name would keep the old text.
    ASSERT_TRUE(::CreateHardLinkA((dir / "other.xml").c_str(), path.c_str(), nullptr));
    EXPECT_FALSE(write(path)) << name;
    EXPECT_EQ(ReadFile(path), old) << name;
    EXPECT_EQ(ReadFile(dir / "other.xml"), old) << name;
    ASSERT_TRUE(::DeleteFileA((dir / "other.xml").c_str()));
  }
}

TEST(WindowsSave, AReplacedFileKeepsItsAttributes) {
  testutil::TempDir dir;
  const std::string path = dir / "doc.xml";
  const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
  for (const auto& [name, write] : Writers()) {
    WriteFile(path, LargeDocument());
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), kept));
    ASSERT_TRUE(write(path)) << name;
    EXPECT_EQ(::GetFileAttributesA(path.c_str()) & kept, kept) << name;
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
  }
}

// Makes the file at `path` look written an hour ago.
void MakeOld(const std::string& path) {
  const HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER time;
  time.LowPart = now.dwLowDateTime;
  time.HighPart = now.dwHighDateTime;
  time.QuadPart -= 3600ull * 10 * 1000 * 1000;
  const FILETIME old = {time.LowPart, time.HighPart};
  EXPECT_TRUE(::SetFileTime(file, &old, &old, &old));
  ::CloseHandle(file);
}

TEST(WindowsLeftovers, OnlyOldFilesThatNoSaveHoldsAreRemoved) {
  testutil::TempDir dir;
  WriteFile(dir / "doc.xml", LargeDocument());
  WriteFile(dir / "other.xml", LargeDocument());

  // A save that stops while it writes its temporary file.
  std::promise<void> paused, resume;
  Status result(Reason::kWriteFailed, "not run");
  std::thread saver([&] {
    testutil::FaultEnv env;
    bool waited = false;
    env.OnCall([&](const std::string& call) {
      if (call != "Write" || waited) return;
      waited = true;
      paused.set_value();
      resume.get_future().wait();
    });
    result = Edit(env, dir / "doc.xml");
  });
  paused.get_future().wait();
  // A killed save's file, and one as a save leaves it between its close and
  // its rename.
  const std::string old = talvoro::TemporaryName(0x1234), fresh = talvoro::TemporaryName(0x5678);
  WriteFile(dir / old, "left by a killed save");
  MakeOld(dir / old);
  WriteFile(dir / fresh, "about to be renamed");
  EXPECT_EQ(Temporaries(dir.path()), 3u);

  EXPECT_TRUE(Edit(talvoro::Env::Default(), dir / "other.xml").ok());
  EXPECT_EQ(Temporaries(dir.path()), 2u);
  EXPECT_EQ(Entries(dir.path()).count(old), 0u);
  resume.set_value();
  saver.join();
  EXPECT_TRUE(result.ok()) << result.ToString();
  EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"doc.xml", "other.xml", fresh}));
}

}  // namespace

// Saving on POSIX systems: failures are produced for real, in a forked child
// that limits its file size (SIGXFSZ ignored, so writes fail with EFBIG, for
// root too) or drops its privileges, then calls a writer; symbolic links stay
// links, and permission bits are kept.
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "talvoro/talvoro.h"
#include "test_util.h"
#include "writers.h"

namespace {

using testutil::Entries;
using testutil::LargeDocument;
using testutil::ReadFile;
using testutil::WriteFile;
using testutil::Writers;

constexpr int kReturnedTrue = 0, kReturnedFalse = 1, kNotPrepared = 3;

// Runs `call` in a child process after `prepare`; returns the child's exit
// status: what `call` returned, or that `prepare` failed.
int InChild(const std::function<void()>& prepare, const std::function<bool()>& call) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    prepare();
    ::_exit(call() ? kReturnedTrue : kReturnedFalse);
  }
  int status = 0;
  EXPECT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status)) << "the child died: status " << status;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void LimitFileSize(rlim_t bytes) {
  ::signal(SIGXFSZ, SIG_IGN);
  const struct rlimit limit = {bytes, bytes};
  if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(kNotPrepared);
}

mode_t Mode(const std::string& path) {
  struct stat info;
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

bool IsLink(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

TEST(Save, AFailedWriteReportsFalseAndKeepsTheOldFile) {
  for (const auto& [name, write] : Writers()) {
    testutil::TempDir dir;
    const std::string path = dir / "doc.xml";
    const std::string old = LargeDocument();
    ASSERT_GT(old.size(), 3500u);
    WriteFile(path, old);

    EXPECT_EQ(InChild([] { LimitFileSize(100); }, [&, w = write] { return w(path); }),
              kReturnedFalse)
        << name;
    EXPECT_EQ(ReadFile(path), old) << name;
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"doc.xml"}) << name << ": stray file";

    // The same call without the limit succeeds and changes the file.
    EXPECT_TRUE(write(path)) << name;
    EXPECT_NE(ReadFile(path), old) << name;
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"doc.xml"}) << name;
  }
}

TEST(Save, AReadOnlyTargetIsNotReplaced) {
  testutil::TempDir dir;
  const std::string path = dir / "doc.xml";
  const std::string old = LargeDocument();
  WriteFile(path, old);
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
  // Root may write anything; the child takes an ordinary user's identity.
  const auto asUser = [] {
    if (::geteuid() == 0) {
      const passwd* nobody = ::getpwnam("nobody");
      if (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
        ::_exit(kNotPrepared);
    }
  };
  // Another user's file, and then the user's own: read-only either way.
  for (const bool own : {false, true}) {
    const passwd* nobody = ::getpwnam("nobody");
    if (own && ::geteuid() == 0) {
      ASSERT_NE(nobody, nullptr);
      ASSERT_EQ(::chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    for (const auto& [name, write] : Writers()) {
      EXPECT_EQ(InChild(asUser, [&, w = write] { return w(path); }), kReturnedFalse)
          << name << (own ? " (own file)" : "");
      EXPECT_EQ(ReadFile(path), old) << name;
      EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"doc.xml"}) << name;
    }
  }
}

TEST(Save, ALinkedTargetStaysALinkAndItsFileIsReplaced) {
  testutil::TempDir dir, elsewhere;
  ASSERT_EQ(::mkdir((dir / "real").c_str(), 0755), 0);
  WriteFile(dir / "real/doc.xml", LargeDocument());
  WriteFile(elsewhere / "doc.xml", LargeDocument());
  // A chain of relative links, and an absolute link into another folder.
  ASSERT_EQ(::symlink("real/doc.xml", (dir / "hop.xml").c_str()), 0);
  ASSERT_EQ(::symlink("hop.xml", (dir / "link.xml").c_str()), 0);
  ASSERT_EQ(::symlink((elsewhere / "doc.xml").c_str(), (dir / "far.xml").c_str()), 0);

  for (const char* link : {"link.xml", "far.xml"}) {
    for (const auto& [name, write] : Writers()) {
      const std::string before = ReadFile(dir / link);
      ASSERT_TRUE(write(dir / link)) << name << " via " << link;
      EXPECT_TRUE(IsLink(dir / link)) << name << " via " << link;
      EXPECT_NE(ReadFile(dir / link), before) << name << " via " << link;
    }
  }
  EXPECT_TRUE(IsLink(dir / "hop.xml"));
  EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"far.xml", "hop.xml", "link.xml", "real"}));
  EXPECT_EQ(Entries(dir / "real"), std::set<std::string>{"doc.xml"});
  EXPECT_EQ(Entries(elsewhere.path()), std::set<std::string>{"doc.xml"});

  // A link loop is refused.
  ASSERT_EQ(::symlink("loop-b", (dir / "loop-a").c_str()), 0);
  ASSERT_EQ(::symlink("loop-a", (dir / "loop-b").c_str()), 0);
  EXPECT_FALSE(Writers()[2].second(dir / "loop-a"));
}

TEST(Save, KeepsPermissionBitsAndGivesNewFilesTheUmask) {
  testutil::TempDir dir;
  const mode_t saved = ::umask(027);
  // Setuid, setgid and sticky bits are not carried over.
  for (const auto& [before, after] : {std::pair{0604u, 0604u}, std::pair{07755u, 0755u}}) {
    for (const auto& [name, write] : Writers()) {
      const std::string path = dir / "doc.xml";
      WriteFile(path, LargeDocument());
      ASSERT_EQ(::chmod(path.c_str(), before), 0);
      EXPECT_TRUE(write(path)) << name;
      EXPECT_EQ(Mode(path), after) << name << " from " << std::oct << before;
      ::unlink(path.c_str());
    }
  }
  EXPECT_TRUE(Writers()[3].second(dir / "new.xml"));
  EXPECT_EQ(Mode(dir / "new.xml"), 0640u);
  ::umask(saved);
}

}  // namespace

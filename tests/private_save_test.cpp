// What POSIX systems add to a save: the new text is never open to another
// user that the target's mode keeps out, the file keeps its owner, group and
// extended attributes, what cannot be replaced whole is refused, and killed
// saves leave nothing once the next save into the folder has run. Failures
// and kills happen for real, in forked children.
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "fault_env.h"
#include "talvoro/diagnose.h"
#include "talvoro/talvoro.h"
#include "test_util.h"
#include "xml/document.h"

// The system calls of a save, replaced for this test program: each does what
// the test armed for it on the calling thread, and otherwise goes straight to
// the kernel.
namespace {
thread_local int fsyncError = 0, closeError = 0, renameError = 0, listAttributesError = 0,
                 setAttributeError = 0;
// Calls of write() and rename() to interrupt by a signal before they act.
thread_local int interruptedWrites = 0, interruptedRenames = 0;
// The most one write() moves (0: no limit).
thread_local std::size_t shortWrites = 0;
// Linking an unnamed file by its descriptor (AT_EMPTY_PATH) fails as it does
// for a process without CAP_DAC_READ_SEARCH before Linux 6.10.
thread_local bool refuseEmptyPathLinks = false;
// Runs inside open(), just before the kernel's: the file system changes
// between a check and the open.
thread_local std::function<void(const char* path, int flags)> beforeOpen;
int Armed(int& error) {
  errno = error;
  error = 0;
  return -1;
}
int Interrupted(int& count) {
  --count;
  errno = EINTR;
  return -1;
}
}  // namespace
extern "C" int fsync(int fd) {
  if (fsyncError) return Armed(fsyncError);
  return static_cast<int>(::syscall(SYS_fsync, fd));
}
extern "C" int close(int fd) {
  const int result = static_cast<int>(::syscall(SYS_close, fd));
  if (closeError) return Armed(closeError);  // as NFS reports a failed write: closed all the same
  return result;
}
extern "C" int rename(const char* from, const char* to) noexcept {
  if (renameError) return Armed(renameError);
  if (interruptedRenames > 0) return Interrupted(interruptedRenames);
  return ::renameat(AT_FDCWD, from, AT_FDCWD, to);
}
extern "C" ssize_t llistxattr(const char* path, char* names, size_t size) noexcept {
  if (listAttributesError) return Armed(listAttributesError);
  return ::syscall(SYS_llistxattr, path, names, size);
}
extern "C" int fsetxattr(int fd, const char* name, const void* value, size_t size,
                         int flags) noexcept {
  if (setAttributeError) return Armed(setAttributeError);
  return static_cast<int>(::syscall(SYS_fsetxattr, fd, name, value, size, flags));
}
extern "C" ssize_t write(int fd, const void* data, size_t size) {
  if (interruptedWrites > 0) return Interrupted(interruptedWrites);
  if (shortWrites && size > shortWrites) size = shortWrites;
  return ::syscall(SYS_write, fd, data, size);
}
extern "C" int linkat(int fromFolder, const char* from, int toFolder, const char* to,
                      int flags) noexcept {
  if (refuseEmptyPathLinks && (flags & AT_EMPTY_PATH)) {
    errno = ENOENT;
    return -1;
  }
  return static_cast<int>(::syscall(SYS_linkat, fromFolder, from, toFolder, to, flags));
}
namespace {
// open() with the mode that follows `flags` when it creates a file.
int Open(const char* path, int flags, va_list more) {
  const mode_t mode = flags & (O_CREAT | O_TMPFILE) ? static_cast<mode_t>(va_arg(more, int)) : 0;
  if (beforeOpen) beforeOpen(path, flags);
  return static_cast<int>(::syscall(SYS_openat, AT_FDCWD, path, flags | O_LARGEFILE, mode));
}
}  // namespace
// The library asks for large-file support, so its open() is open64().
extern "C" int open(const char* path, int flags, ...) {
  va_list more;
  va_start(more, flags);
  const int fd = Open(path, flags, more);
  va_end(more);
  return fd;
}
extern "C" int open64(const char* path, int flags, ...) {
  va_list more;
  va_start(more, flags);
  const int fd = Open(path, flags, more);
  va_end(more);
  return fd;
}

namespace {

using Document = talvoro::XmlDocument;
using talvoro::Env;
using talvoro::Status;
using testutil::Entries;
using testutil::ReadFile;
using testutil::WriteFile;

std::size_t Temporaries(const std::string& folder) {
  std::size_t count = 0;
  for (const std::string& name : Entries(folder))
    count += talvoro::IsTemporaryName(name);
  return count;
}

struct stat Stat(const std::string& path) {
  struct stat info;
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info;
}

std::string Shortcuts(const std::string& file) {
  return "<?xml version=\"1.0\" ?>\n<items>\n    <item file=\"" + file +
         "\"></item>\n    <item file=\"keep.exe\"></item>\n</items>\n";
}

// Both ways of creating a temporary file: unnamed, and the named fallback.
struct Creation {
  const char* name;
  std::unique_ptr<Env> env;
};
std::vector<Creation> Creations() {
  std::vector<Creation> all;
  all.push_back({"unnamed", talvoro::NewSystemEnv({true})});
  all.push_back({"named", talvoro::NewSystemEnv({false})});
  return all;
}

// Loads `path`, removes its first item and saves it back.
Status Edit(Env& env, const std::string& path) {
  Document doc(env);
  const auto [status, root] = doc.Load(path.c_str());
  if (!root) return status;
  root->RemoveChild(root->FirstChildElement());
  return doc.Save(path.c_str());
}

const passwd& Nobody() {
  const passwd* nobody = ::getpwnam("nobody");
  if (!nobody) throw std::runtime_error("no user nobody");
  return *nobody;
}

void BecomeNobody() {
  if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody().pw_gid) != 0 ||
      ::setuid(Nobody().pw_uid) != 0) {
    ::_exit(99);
  }
}

// A child process that runs `body` and exits with its result.
class Child {
 public:
  explicit Child(const std::function<int()>& body) {
    pid_ = ::fork();
    if (pid_ == 0) ::_exit(body());
  }
  ~Child() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
  }
  void Kill() { ::kill(pid_, SIGKILL); }
  // The exit status, or -signal when it was killed.
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

 private:
  pid_t pid_;
};

// One byte through a pipe, to hold one process until the other is ready.
class Signal {
 public:
  Signal() {
    if (::pipe(fds_) != 0) throw std::runtime_error("pipe");
  }
  ~Signal() {
    ::close(fds_[0]);
    ::close(fds_[1]);
  }
  void Raise() { (void)!::write(fds_[1], "x", 1); }
  void Await() {
    char c;
    (void)!::read(fds_[0], &c, 1);
  }

 private:
  int fds_[2];
};

TEST(PrivateSave, AWatcherAsAnotherUserNeverOpensTheTextOfAPrivateFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to watch as another user";
  for (const Creation& creation : Creations()) {
    testutil::TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    const std::string path = dir / "doc.xml";
    WriteFile(path, Shortcuts("secret.exe"));
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);

    // The watcher opens every name that appears in the folder, as soon as
    // it appears, and counts what it saw and what it could open.
    Signal ready, done;
    int counts[2];
    ASSERT_EQ(::pipe(counts), 0);
    Child watcher([&] {
      BecomeNobody();
      const int watch = ::inotify_init1(0);
      if (watch < 0 || ::inotify_add_watch(watch, dir.path().c_str(), IN_CREATE | IN_MOVED_TO) < 0)
        return 98;
      ready.Raise();
      int seen = 0, opened = 0;
      alignas(inotify_event) char events[4096];
      for (;;) {
        pollfd wait = {watch, POLLIN, 0};
        const ssize_t got = ::poll(&wait, 1, 50) == 1 ? ::read(watch, events, sizeof events) : 0;
        if (got <= 0) {
          struct stat finished;
          if (::stat((dir / ".done").c_str(), &finished) == 0) break;
          continue;
        }
        for (ssize_t at = 0; at < got;) {
          const auto* event = reinterpret_cast<const inotify_event*>(events + at);
          at += sizeof(inotify_event) + event->len;
          if (!event->len || !talvoro::IsTemporaryName(event->name)) continue;
          ++seen;
          const int fd = ::open((dir / event->name).c_str(), O_RDONLY);
          if (fd >= 0) {
            ++opened;
            ::close(fd);
          }
        }
      }
      const int result[2] = {seen, opened};
      return ::write(counts[1], result, sizeof result) == sizeof result ? 0 : 97;
    });
    ready.Await();
    for (int i = 0; i < 100; ++i) {
      WriteFile(path, Shortcuts("secret-" + std::to_string(i) + ".exe"));
      ASSERT_TRUE(Edit(*creation.env, path).ok()) << creation.name;
    }
    WriteFile(dir / ".done", "");
    ASSERT_EQ(watcher.Wait(), 0) << creation.name;
    int result[2] = {0, 0};
    ASSERT_EQ(::read(counts[0], result, sizeof result), static_cast<ssize_t>(sizeof result));
    ::close(counts[0]);
    ::close(counts[1]);
    EXPECT_GE(result[0], 50) << creation.name << ": the watcher saw too few temporary files";
    EXPECT_EQ(result[1], 0) << creation.name << ": a temporary file was opened";
    EXPECT_EQ(Stat(path).st_mode & 07777, 0600u);
  }
}

TEST(PrivateSave, RootKeepsOwnerGroupModeAndExtendedAttributes) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to own files as another user";
  for (const Creation& creation : Creations()) {
    // Another user and group, and the saver's own user with another group.
    for (const uid_t owner : {Nobody().pw_uid, uid_t{0}}) {
      testutil::TempDir dir;
      const std::string path = dir / "doc.xml";
      WriteFile(path, Shortcuts("a.exe"));
      ASSERT_EQ(::chown(path.c_str(), owner, Nobody().pw_gid), 0);
      ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
      ASSERT_EQ(::setxattr(path.c_str(), "user.origin", "desk", 4, 0), 0);
      ASSERT_EQ(::setxattr(path.c_str(), "trusted.note", "", 0, 0), 0);

      ASSERT_TRUE(Edit(*creation.env, path).ok()) << creation.name;
      const struct stat info = Stat(path);
      EXPECT_EQ(info.st_uid, owner) << creation.name;
      EXPECT_EQ(info.st_gid, Nobody().pw_gid) << creation.name;
      EXPECT_EQ(info.st_mode & 07777, 0640u) << creation.name;
      char value[16] = {};
      EXPECT_EQ(::getxattr(path.c_str(), "user.origin", value, sizeof value), 4) << creation.name;
      EXPECT_STREQ(value, "desk");
      EXPECT_EQ(::getxattr(path.c_str(), "trusted.note", value, sizeof value), 0) << creation.name;
      EXPECT_EQ(ReadFile(path).find("a.exe"), std::string::npos);
    }
  }
}

TEST(PrivateSave, AFailedSyncCloseRenameOrAttributeCopyKeepsTheOldFileAndSaysWhich) {
  struct Case {
    int* error;
    talvoro::Reason reason;
  } cases[] = {{&fsyncError, talvoro::Reason::kSyncFailed},
               {&closeError, talvoro::Reason::kCloseFailed},
               {&renameError, talvoro::Reason::kRenameFailed},
               {&listAttributesError, talvoro::Reason::kAttributesNotKept},
               {&setAttributeError, talvoro::Reason::kAttributesNotKept}};
  for (const Case& c : cases) {
    testutil::TempDir dir;
    const std::string path = dir / "doc.xml";
    WriteFile(path, Shortcuts("a.exe"));
    // An attribute to copy (where the file system has user attributes).
    if (::setxattr(path.c_str(), "user.origin", "desk", 4, 0) != 0 && c.error == &setAttributeError)
      continue;
    tagShortCutInfo shortcut = testutil::Zeroed<tagShortCutInfo>();
    std::strcpy(shortcut.file, "new.exe");
    talvoro::Outcome outcome{};
    *c.error = EIO;  // the save's first call of its kind fails
    EXPECT_FALSE(talvoro::WriteShortcuts(path.c_str(), &shortcut, 1, &outcome));
    *c.error = 0;
    EXPECT_EQ(outcome.reason, c.reason) << talvoro::ReasonText(outcome.reason);
    EXPECT_STREQ(outcome.detail, std::strerror(EIO));
    EXPECT_EQ(ReadFile(path), Shortcuts("a.exe"));
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"doc.xml"});
  }
}

// What the kernel does to a save's system calls, done for real: a signal
// before a call acts, writes that move fewer bytes than asked, and a kernel
// that links an unnamed file only through its /proc name. Every save still
// ends with the whole new document in place and nothing beside it.
TEST(PrivateSave, InterruptedShortAndRefusedCallsStillGiveTheWholeDocument) {
  testutil::TempDir dir;
  const std::string path = dir / "doc.xml";
  std::string expected;
  {
    WriteFile(path, Shortcuts("a.exe"));
    ASSERT_TRUE(Edit(Env::Default(), path).ok());
    expected = ReadFile(path);
  }
  struct Kernel {
    const char* name;
    std::function<void()> arm;
  } kernels[] = {
      {"signals", [] { interruptedWrites = 3, interruptedRenames = 2, fsyncError = EINTR; }},
      {"short writes", [] { shortWrites = 7; }},
      {"no links by descriptor", [] { refuseEmptyPathLinks = true; }},
  };
  for (const Kernel& kernel : kernels) {
    for (const Creation& creation : Creations()) {
      SCOPED_TRACE(std::string(kernel.name) + ", " + creation.name);
      WriteFile(path, Shortcuts("a.exe"));
      kernel.arm();
      const Status status = Edit(*creation.env, path);
      interruptedWrites = interruptedRenames = fsyncError = 0;
      shortWrites = 0;
      refuseEmptyPathLinks = false;
      EXPECT_TRUE(status.ok()) << status.ToString();
      EXPECT_EQ(ReadFile(path), expected);
      EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"doc.xml"});
    }
  }
}

// The guards against a file system that changes between a check and a call.
TEST(RaceGuards, APathThatBecomesAFifoAfterItsCheckDoesNotBlockTheRead) {
  testutil::TempDir dir;
  const std::string path = dir / "doc.xml";
  WriteFile(path, Shortcuts("a.exe"));
  Child child([&] {
    ::alarm(10);  // a read that blocks ends the child with SIGALRM
    beforeOpen = [&](const char* opened, int) {
      if (path != opened) return;
      beforeOpen = nullptr;
      ::unlink(opened);
      ::mkfifo(opened, 0600);
    };
    CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> array;
    talvoro::XmlDocument doc;
    const talvoro::XmlDocument::Loaded loaded = doc.Load(path.c_str());
    if (loaded.root) return 1;
    return loaded.status.code() == talvoro::Reason::kNotRegular ? 0 : 2;
  });
  EXPECT_EQ(child.Wait(), 0);
}

TEST(RaceGuards, ANamedTemporaryFileIsNeverOpenedOverAnExistingOne) {
  testutil::TempDir dir;
  const std::string path = dir / "doc.xml";
  WriteFile(path, Shortcuts("a.exe"));
  std::string planted;
  beforeOpen = [&](const char* opened, int flags) {
    if (!(flags & O_CREAT) || !talvoro::IsTemporaryName(std::filesystem::path(opened).filename()))
      return;
    beforeOpen = nullptr;
    planted = opened;
    WriteFile(planted, "another program's file");
  };
  const Status status = Edit(*talvoro::NewSystemEnv({false}), path);
  beforeOpen = nullptr;
  ASSERT_TRUE(status.ok()) << status.ToString();
  ASSERT_FALSE(planted.empty());
  EXPECT_EQ(ReadFile(planted), "another program's file");
  EXPECT_EQ(ReadFile(path).find("a.exe"), std::string::npos);
}

TEST(PrivateSave, WhatCannotBeReplacedWholeIsRefusedAndLeftAlone) {
  testutil::TempDir dir;
  const std::string old = Shortcuts("a.exe");

  // A second name of the file would keep the old text.
  WriteFile(dir / "doc.xml", old);
  ASSERT_EQ(::link((dir / "doc.xml").c_str(), (dir / "other.xml").c_str()), 0);
  const Status linked = Edit(Env::Default(), dir / "doc.xml");
  EXPECT_EQ(linked.code(), talvoro::Reason::kHardLinks);
  EXPECT_EQ(ReadFile(dir / "doc.xml"), old);
  EXPECT_EQ(Stat(dir / "doc.xml").st_nlink, 2u);
  ::unlink((dir / "other.xml").c_str());

  // Another user may write the file (its group may), but the new file could
  // not be given the owner: refused, through every writer.
  if (::geteuid() != 0) return;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
  ASSERT_EQ(::chown((dir / "doc.xml").c_str(), 0, Nobody().pw_gid), 0);
  ASSERT_EQ(::chmod((dir / "doc.xml").c_str(), 0664), 0);
  Child editor([&] {
    BecomeNobody();
    tagShortCutInfo shortcut = testutil::Zeroed<tagShortCutInfo>();
    std::strcpy(shortcut.file, "a.exe");
    CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> array;
    array.Add(shortcut);
    const bool any = CTinyXmlHelper::DeleteShutCutInfo((dir / "doc.xml").c_str(), shortcut) ||
                     CTinyXmlHelper::WrittingShutCutInfo((dir / "doc.xml").c_str(), array);
    return any ? 1 : 0;
  });
  EXPECT_EQ(editor.Wait(), 0);
  EXPECT_EQ(ReadFile(dir / "doc.xml"), old);
  EXPECT_EQ(Stat(dir / "doc.xml").st_uid, 0u);
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"doc.xml"});
}

// A save in a child that stops before the call named `stage` and waits there.
class PausedSave {
 public:
  PausedSave(bool unnamed, const std::string& path, const char* stage)
      : child_([this, unnamed, path, stage] {
          const std::unique_ptr<Env> system = talvoro::NewSystemEnv({unnamed});
          testutil::FaultEnv env(*system);
          env.OnCall([this, stage](const std::string& call) {
            if (call != stage) return;
            paused_.Raise();
            go_.Await();
          });
          return Edit(env, path).ok() ? 0 : 1;
        }) {
    paused_.Await();
  }
  void Go() { go_.Raise(); }
  void Kill() { child_.Kill(); }
  int Wait() { return child_.Wait(); }

 private:
  Signal paused_, go_;
  Child child_;
};

TEST(Leftovers, KilledSavesLeaveNothingOnceTheNextSaveHasRun) {
  testutil::TempDir dir;
  WriteFile(dir / "doc.xml", Shortcuts("a.exe"));
  WriteFile(dir / "other.xml", Shortcuts("b.exe"));
  // Killed while writing, or with the complete file linked but not yet renamed.
  for (const bool unnamed : {true, false}) {
    for (const char* stage : {"Write", "Replace"}) {
      PausedSave save(unnamed, dir / "doc.xml", stage);
      save.Kill();
      EXPECT_EQ(save.Wait(), -SIGKILL);
      const bool named = !unnamed || std::strcmp(stage, "Replace") == 0;
      EXPECT_EQ(Temporaries(dir.path()), named ? 1u : 0u) << unnamed << stage;
      EXPECT_EQ(ReadFile(dir / "doc.xml"), Shortcuts("a.exe"));
    }
    // Leftovers from several kills pile up until a save runs: then all go.
    ASSERT_TRUE(Edit(Env::Default(), dir / "other.xml").ok());
    EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"doc.xml", "other.xml"}));
    WriteFile(dir / "other.xml", Shortcuts("b.exe"));
  }
}

TEST(Leftovers, ASaveInProgressKeepsItsFileWhileAnotherSaveTidiesTheFolder) {
  testutil::TempDir dir;
  WriteFile(dir / "doc.xml", Shortcuts("a.exe"));
  WriteFile(dir / "other.xml", Shortcuts("b.exe"));
  for (const bool unnamed : {true, false}) {
    PausedSave save(unnamed, dir / "doc.xml", unnamed ? "Replace" : "Write");
    ASSERT_EQ(Temporaries(dir.path()), 1u);
    ASSERT_TRUE(Edit(*talvoro::NewSystemEnv({unnamed}), dir / "other.xml").ok());
    EXPECT_EQ(Temporaries(dir.path()), 1u) << "a live save's file was removed";
    save.Go();
    EXPECT_EQ(save.Wait(), 0);
    EXPECT_EQ(ReadFile(dir / "doc.xml").find("a.exe"), std::string::npos);
    EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"doc.xml", "other.xml"}));
    WriteFile(dir / "doc.xml", Shortcuts("a.exe"));
  }
}

TEST(Leftovers, TheNewFileIsMadeBesideTheFileALinkLeadsTo) {
  // In the target's folder, so that the rename stays on its file system.
  testutil::TempDir dir, elsewhere;
  WriteFile(elsewhere / "doc.xml", Shortcuts("a.exe"));
  ASSERT_EQ(::symlink((elsewhere / "doc.xml").c_str(), (dir / "link.xml").c_str()), 0);
  for (const Creation& creation : Creations()) {
    testutil::FaultEnv env(*creation.env);
    std::size_t here = 9, there = 9;
    env.OnCall([&](const std::string& call) {
      if (call != "Replace") return;
      here = Temporaries(dir.path());
      there = Temporaries(elsewhere.path());
    });
    ASSERT_TRUE(Edit(env, dir / "link.xml").ok()) << creation.name;
    EXPECT_EQ(here, 0u) << creation.name;
    EXPECT_EQ(there, 1u) << creation.name;
    WriteFile(elsewhere / "doc.xml", Shortcuts("a.exe"));
  }
}

TEST(BoundedReading, SparsePseudoAndHugeFilesAreRefusedAndTheArrayIsUntouched) {
  testutil::TempDir dir;
  const std::string sparse = dir / "sparse.xml";
  WriteFile(sparse, "<items>");
  std::filesystem::resize_file(sparse, std::uintmax_t{1} << 40);  // 1 TiB, no blocks
  for (const std::string& path : {sparse, std::string("/proc/self/pagemap")}) {
    CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> array;
    EXPECT_FALSE(CTinyXmlHelper::GetShutCutInfo(array, path.c_str())) << path;
    EXPECT_EQ(array.GetData(), nullptr);
    EXPECT_EQ(array.GetCount(), 0);
  }
}

TEST(BoundedReading, TheLibrarysOwnAllocationFailureIsARefusal) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer cannot run with a small address space";
#endif
  testutil::TempDir dir;
  std::string xml = "<items>";
  while (xml.size() < (48u << 20))
    xml += "<item file=\"a\"/>";
  WriteFile(dir / "big.xml", xml + "</items>");
  Child child([&] {
    // Room for the text, not for what TinyXML makes of it.
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t room = static_cast<rlim_t>(pages) * ::sysconf(_SC_PAGESIZE) + (200u << 20);
    const rlimit limit = {room, room};
    if (::setrlimit(RLIMIT_AS, &limit) != 0) return 3;
    CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> array;
    const bool read = CTinyXmlHelper::GetShutCutInfo(array, (dir / "big.xml").c_str());
    return read ? 1 : array.GetCount() == 0 ? 0 : 2;
  });
  EXPECT_EQ(child.Wait(), 0);
}

}  // namespace

// The file layer on Linux and other POSIX systems.
//
// Temporary files of saves: where the file system supports O_TMPFILE, the
// new file has no name until it is complete and synced, so nobody can open
// it early, and a killed save leaves nothing. Otherwise it is created under a
// hidden name with mode 0600 and takes the target's mode before its first
// byte. Either way the saving process holds an flock on it from creation
// until it is renamed into place or removed; a later save removes the named
// leftovers it can lock (their saver is gone) and never one that is locked.
#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "os/env.h"

namespace talvoro {
namespace {

// Links followed before giving up, as the kernel does when it looks up a path.
constexpr int kMaxLinks = 40;
// Attempts at a temporary name that no other file has.
constexpr int kMaxNameAttempts = 100;

std::string SystemMessage(int error) {
  return std::error_code(error, std::generic_category()).message();
}

Status Failed(Reason code, int error) {
  return Status(code, SystemMessage(error));
}

// Makes a system call again for as long as a signal interrupts it before it
// has done anything; answers its last result, with errno as it left it.
template <typename Call>
auto Retried(Call call) -> decltype(call()) {
  for (;;) {
    const auto result = call();
    if (result != -1 || errno != EINTR) return result;
  }
}

// Owns a file descriptor and closes it.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

// Owns an open directory stream.
class Directory {
 public:
  explicit Directory(const char* path) : dir_(::opendir(path)) {}
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;
  ~Directory() {
    if (dir_) ::closedir(dir_);
  }
  bool valid() const { return dir_ != nullptr; }
  // The next entry's name, or null at the end or on an error.
  const char* Next() {
    const dirent* entry = ::readdir(dir_);
    return entry ? entry->d_name : nullptr;
  }

 private:
  DIR* dir_;
};

std::uint64_t RandomBits() {
  try {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
  } catch (const std::exception&) {
    // No entropy source: names need only be unlikely to collide, since a
    // taken name is detected and another one tried.
    static_assert(sizeof(std::uint64_t) >= sizeof(void*), "address fits");
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    std::uint64_t x = static_cast<std::uint64_t>(now) ^
                      (static_cast<std::uint64_t>(::getpid()) << 40) ^
                      reinterpret_cast<std::uintptr_t>(&now);
    x ^= x >> 31;
    x *= 0x9E3779B97F4A7C15u;
    return x ^ (x >> 29);
  }
}

// '*' matches any run of characters, '?' any one; everything else only itself.
// Iterative, with one backtrack point for the last '*': linear in practice and
// never recursive, whatever the pattern.
bool Matches(const char* pattern, const char* name) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || *pattern == *name) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*')
    ++pattern;
  return *pattern == '\0';
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// An error that says the system will not let this caller set an attribute
// (or does not know it), as opposed to one that says the write failed.
bool NotPermitted(int error) {
  return error == EPERM || error == EACCES || error == ENOTSUP || error == EOPNOTSUPP ||
         error == EINVAL;
}

class PosixReadableFile : public ReadableFile {
 public:
  explicit PosixReadableFile(int fd) : fd_(fd) {}
  Status Read(char* buffer, std::size_t capacity, std::size_t* got) override {
    const ssize_t n = Retried([&] { return ::read(fd_.get(), buffer, capacity); });
    if (n < 0) {
      *got = 0;
      return Failed(Reason::kUnreadable, errno);
    }
    *got = static_cast<std::size_t>(n);
    return Status::Ok();
  }

 private:
  Descriptor fd_;
};

class PosixTemporaryFile : public TemporaryFile {
 public:
  // `fd` is locked already; `path` is empty for a file without a name yet.
  PosixTemporaryFile(int fd, int lock, std::string folder, std::string path)
      : fd_(fd), lock_(lock), folder_(std::move(folder)), path_(std::move(path)) {}

  ~PosixTemporaryFile() override {
    // Removed while the lock is still held, so no other save mistakes it
    // for a leftover in between.
    if (!published_ && !path_.empty()) ::unlink(path_.c_str());
  }

  Status KeepOwner(const FileFacts& target) override {
    struct stat info;
    if (::fstat(fd_.get(), &info) != 0) return Failed(Reason::kOwnerNotKept, errno);
    if (static_cast<std::int64_t>(info.st_uid) == target.owner &&
        static_cast<std::int64_t>(info.st_gid) == target.group) {
      return Status::Ok();
    }
    if (Retried([&] {
          return ::fchown(fd_.get(), static_cast<uid_t>(target.owner),
                          static_cast<gid_t>(target.group));
        }) != 0) {
      return Failed(Reason::kOwnerNotKept, errno);
    }
    // A change of owner may drop permission bits; give them back.
    if (Retried([&] { return ::fchmod(fd_.get(), static_cast<mode_t>(target.mode & 0777)); }) != 0)
      return Failed(Reason::kOwnerNotKept, errno);
    return Status::Ok();
  }

  Status KeepAttributes(const std::string& target) override {
    std::vector<char> names;
    for (;;) {
      const ssize_t size = Retried([&] { return ::llistxattr(target.c_str(), nullptr, 0); });
      if (size < 0) {
        if (errno == ENOTSUP || errno == EOPNOTSUPP) return Status::Ok();
        return Failed(Reason::kAttributesNotKept, errno);
      }
      if (size == 0) return Status::Ok();
      names.resize(static_cast<std::size_t>(size));
      const ssize_t got =
          Retried([&] { return ::llistxattr(target.c_str(), names.data(), names.size()); });
      if (got >= 0) {
        names.resize(static_cast<std::size_t>(got));
        break;
      }
      if (errno != ERANGE) return Failed(Reason::kAttributesNotKept, errno);
    }
    std::vector<char> value;
    for (std::size_t at = 0; at < names.size(); at += std::strlen(&names[at]) + 1) {
      const char* name = &names[at];
      ssize_t size;
      for (;;) {
        size = Retried([&] { return ::lgetxattr(target.c_str(), name, nullptr, 0); });
        if (size < 0) break;
        value.resize(static_cast<std::size_t>(size));
        size =
            Retried([&] { return ::lgetxattr(target.c_str(), name, value.data(), value.size()); });
        if (size >= 0 || errno != ERANGE) break;
      }
      if (size < 0) {
        if (errno == ENODATA) continue;  // removed since it was listed
        return Failed(Reason::kAttributesNotKept, errno);
      }
      if (Retried([&] {
            return ::fsetxattr(fd_.get(), name, value.data(), static_cast<std::size_t>(size), 0);
          }) != 0 &&
          !NotPermitted(errno)) {
        return Failed(Reason::kAttributesNotKept, errno);
      }
    }
    return Status::Ok();
  }

  Status Write(const char* data, std::size_t size, std::size_t* written) override {
    const ssize_t n = Retried([&] { return ::write(fd_.get(), data, size); });
    if (n < 0) {
      *written = 0;
      return Failed(Reason::kWriteFailed, errno);
    }
    *written = static_cast<std::size_t>(n);
    return Status::Ok();
  }

  Status Sync() override {
    if (Retried([&] { return ::fsync(fd_.get()); }) != 0) return Failed(Reason::kSyncFailed, errno);
    return Status::Ok();
  }

  Status Link() override {
    if (!path_.empty()) return Status::Ok();
    const std::string byDescriptor = "/proc/self/fd/" + std::to_string(fd_.get());
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
      const std::string path = folder_ + "/" + TemporaryName(RandomBits());
      // Linking a descriptor needs a privilege; its /proc name does not.
      if (Retried([&] { return ::linkat(fd_.get(), "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH); }) ==
              0 ||
          Retried([&] {
            return ::linkat(AT_FDCWD, byDescriptor.c_str(), AT_FDCWD, path.c_str(),
                            AT_SYMLINK_FOLLOW);
          }) == 0) {
        path_ = path;
        return Status::Ok();
      }
      if (errno != EEXIST) return Failed(Reason::kLinkFailed, errno);
    }
    return Status(Reason::kLinkFailed, "no free temporary name");
  }

  Status Close() override {
    // The descriptor is gone after close() whatever it answers, EINTR too,
    // so it is never made again.
    if (::close(fd_.release()) != 0) {
      const int error = errno;
      return Status(Reason::kCloseFailed, SystemMessage(error));
    }
    return Status::Ok();
  }

  const std::string& Path() const override { return path_; }
  void Published() override { published_ = true; }

 private:
  Descriptor fd_;
  Descriptor lock_;  // shares the locked open file, so the lock outlives Close()
  std::string folder_;
  std::string path_;
  bool published_ = false;
};

Status CreateFailed(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return Failed(Reason::kFolderMissing, error);
    case EACCES:
    case EPERM:
    case EROFS:
      return Failed(Reason::kNotWritable, error);
    default:
      return Failed(Reason::kWriteFailed, error);
  }
}

// Takes the lock that marks a save in progress, and a second descriptor of
// the same open file that keeps it until the temporary file is destroyed.
bool Lock(int fd, Descriptor* lock) {
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return false;
  lock->reset(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
  return lock->valid();
}

// A character set of glibc's iconv. A character is the shortest run of bytes
// that converts whole into UTF-32 (a run that begins one but ends too soon is
// EINVAL); bytes that begin none are EILSEQ.
class IconvCharset : public Charset {
 public:
  explicit IconvCharset(iconv_t cd) : cd_(cd) {}
  ~IconvCharset() override { ::iconv_close(cd_); }
  IconvCharset(const IconvCharset&) = delete;
  IconvCharset& operator=(const IconvCharset&) = delete;

  Character Next(const char* text, std::size_t size) override {
    constexpr std::size_t kLongest = 8;  // GB18030 takes 4, ISO-2022 shifts more
    for (std::size_t length = 1; length <= size && length <= kLongest; ++length) {
      unsigned char out[16];
      char* in = const_cast<char*>(text);
      char* to = reinterpret_cast<char*>(out);
      std::size_t inLeft = length, outLeft = sizeof out;
      const std::size_t done = ::iconv(cd_, &in, &inLeft, &to, &outLeft);
      const int error = errno;
      if (done != static_cast<std::size_t>(-1) && inLeft == 0 && outLeft <= sizeof out - 4) {
        Reset();
        const auto at = [&out](std::size_t i) {
          return static_cast<char32_t>(out[i] | out[i + 1] << 8 | out[i + 2] << 16 |
                                       static_cast<std::uint32_t>(out[i + 3]) << 24);
        };
        return {length, at(0), outLeft <= sizeof out - 8 ? at(4) : 0};
      }
      Reset();
      if (done == static_cast<std::size_t>(-1) && error != EINVAL) break;
    }
    return {0, 0};
  }

 private:
  // Each character is read on its own, from the initial shift state.
  void Reset() { ::iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

  iconv_t cd_;
};

class PosixEnv : public Env {
 public:
  explicit PosixEnv(const EnvOptions& options) : options_(options) {}

  bool PathExists(const char* path) override {
    if (!path || !*path) return false;
    const char* slash = std::strrchr(path, '/');
    const char* last = slash ? slash + 1 : path;
    if (!std::strpbrk(last, "*?")) {
      struct stat info;
      return ::lstat(path, &info) == 0;
    }
    const std::string folder =
        slash ? std::string(path, static_cast<std::size_t>(last - path)) : ".";
    Directory dir(folder.c_str());
    if (!dir.valid()) return false;
    while (const char* name = dir.Next()) {
      // Wildcards match neither "." nor "..": "dir/*" asks whether dir holds anything.
      if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
      if (Matches(last, name)) return true;
    }
    return false;
  }

  Status OpenForReading(const std::string& path, std::unique_ptr<ReadableFile>* file,
                        std::uint64_t* size) override {
    // Looked at before it is opened: opening a device can have effects.
    struct stat info;
    if (Retried([&] { return ::stat(path.c_str(), &info); }) != 0) {
      const int error = errno;
      return Failed(error == ENOENT || error == ENOTDIR ? Reason::kMissing : Reason::kUnreadable,
                    error);
    }
    if (!S_ISREG(info.st_mode)) return Status(Reason::kNotRegular);
    // O_NONBLOCK: should the path have become a FIFO meanwhile, do not wait.
    Descriptor fd(Retried(
        [&] { return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY); }));
    if (!fd.valid()) {
      const int error = errno;
      return Failed(error == ENOENT ? Reason::kMissing : Reason::kUnreadable, error);
    }
    if (::fstat(fd.get(), &info) != 0) return Failed(Reason::kUnreadable, errno);
    if (!S_ISREG(info.st_mode)) return Status(Reason::kNotRegular);
    *size = static_cast<std::uint64_t>(info.st_size);
    file->reset(new PosixReadableFile(fd.release()));
    return Status::Ok();
  }

  Status ResolveLinks(const std::string& path, std::string* target) override {
    std::string current = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
      struct stat info;
      if (Retried([&] { return ::lstat(current.c_str(), &info); }) != 0) {
        const int error = errno;
        if (error != ENOENT) return Failed(Reason::kFolderMissing, error);
        *target = current;
        return Status::Ok();
      }
      if (!S_ISLNK(info.st_mode)) {
        *target = current;
        return Status::Ok();
      }
      char link[PATH_MAX];
      const ssize_t length = ::readlink(current.c_str(), link, sizeof link);
      if (length < 0) return Failed(Reason::kTargetNotRegular, errno);
      if (length == 0 || static_cast<std::size_t>(length) >= sizeof link)
        return Status(Reason::kTargetNotRegular, "unusable symbolic link");
      const std::string next(link, static_cast<std::size_t>(length));
      std::string folder, name;
      Split(current, &folder, &name);
      current = next[0] == '/' ? next : Join(folder, next);
    }
    return Failed(Reason::kTargetNotRegular, ELOOP);
  }

  Status Inspect(const std::string& path, FileFacts* facts) override {
    *facts = FileFacts();
    struct stat info;
    if (Retried([&] { return ::stat(path.c_str(), &info); }) != 0) {
      const int error = errno;
      if (error == ENOENT) return Status::Ok();
      return Failed(error == ENOTDIR ? Reason::kFolderMissing : Reason::kNotWritable, error);
    }
    facts->exists = true;
    facts->regular = S_ISREG(info.st_mode);
    facts->writable = ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
    // Setuid, setgid and sticky bits are not carried over: a save by root
    // must not make a setuid file.
    facts->mode = static_cast<std::uint32_t>(info.st_mode & 0777);
    facts->owner = static_cast<std::int64_t>(info.st_uid);
    facts->group = static_cast<std::int64_t>(info.st_gid);
    facts->links = static_cast<std::uint64_t>(info.st_nlink);
    return Status::Ok();
  }

  Status CreateTemporary(const std::string& folder, const FileFacts& target,
                         std::unique_ptr<TemporaryFile>* file) override {
    // A new target gets what any new file of the process gets (0666 through
    // the umask); an existing one's mode is given before the first byte.
    const mode_t mode = target.exists ? 0600 : 0666;
    if (options_.unnamedTemporaryFiles) {
      Descriptor fd(
          Retried([&] { return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode); }));
      bool taken = false;
      if (fd.valid()) return Prepared(&fd, folder, "", target, file, &taken);
      const int error = errno;
      // Other errors are the folder's, and a named file would meet them too.
      if (error != EISDIR && error != EOPNOTSUPP && error != ENOTSUP && error != EINVAL)
        return CreateFailed(error);
    }
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
      const std::string path = Join(folder, TemporaryName(RandomBits()));
      Descriptor fd(Retried([&] {
        return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
      }));
      if (!fd.valid()) {
        if (errno == EEXIST) continue;
        return CreateFailed(errno);
      }
      bool taken = false;
      Status status = Prepared(&fd, folder, path, target, file, &taken);
      if (!taken) return status;
      // Another save removed it as a leftover before it was locked: another name.
    }
    return Status(Reason::kWriteFailed, "no free temporary name");
  }

  Status Replace(const std::string& from, const std::string& to) override {
    if (Retried([&] { return ::rename(from.c_str(), to.c_str()); }) != 0)
      return Failed(Reason::kRenameFailed, errno);
    return Status::Ok();
  }

  Status SyncFolder(const std::string& folder) override {
    Descriptor dir(
        Retried([&] { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    if (!dir.valid()) return Failed(Reason::kSyncFailed, errno);
    if (Retried([&] { return ::fsync(dir.get()); }) != 0) return Failed(Reason::kSyncFailed, errno);
    return Status::Ok();
  }

  Status ListFolder(const std::string& folder, std::vector<std::string>* names) override {
    names->clear();
    Directory dir(folder.c_str());
    if (!dir.valid()) return Failed(Reason::kUnreadable, errno);
    while (const char* name = dir.Next()) {
      if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) names->push_back(name);
    }
    return Status::Ok();
  }

  Status RemoveAbandoned(const std::string& path) override {
    Descriptor fd(Retried([&] {
      return ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    }));
    if (!fd.valid()) return Failed(Reason::kUnreadable, errno);
    struct stat opened, named;
    if (::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
      return Status(Reason::kNotRegular);
    // A save in progress holds the lock: leave its file alone.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
      return Status(Reason::kNotWritable, "a save holds it");
    if (::lstat(path.c_str(), &named) != 0 || !SameFile(opened, named))
      return Status(Reason::kMissing);
    if (::unlink(path.c_str()) != 0) return Failed(Reason::kNotWritable, errno);
    return Status::Ok();
  }

  void Split(const std::string& path, std::string* folder, std::string* name) const override {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
      *folder = ".";
      *name = path;
    } else {
      *folder = slash == 0 ? "/" : path.substr(0, slash);
      *name = path.substr(slash + 1);
    }
  }

  std::string Join(const std::string& folder, const std::string& name) const override {
    return folder == "/" ? "/" + name : folder + "/" + name;
  }

  const char* LineBreak() const override { return "\n"; }

  std::unique_ptr<Charset> OpenCharset(const std::string& name) override {
    // "" would be the locale's own set, and "//" suffixes ask iconv for
    // conversions that are not a declaration's.
    if (name.empty() || name.find('/') != std::string::npos) return nullptr;
    const iconv_t cd = ::iconv_open("UTF-32LE", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    return std::unique_ptr<Charset>(new IconvCharset(cd));
  }

  std::string NarrowCharset() override {
    // nl_langinfo answers for the thread's locale (uselocale) where it has one.
    const std::string codeset = ::nl_langinfo(CODESET);
    if (codeset == "UTF-8") return "";
    // glibc's spellings, as the registered names are spelt.
    if (codeset == "BIG5") return "Big5";
    if (codeset == "SHIFT_JIS") return "Shift_JIS";
    if (codeset == "ANSI_X3.4-1968") return "US-ASCII";
    return codeset;
  }

 private:
  // Gives a new temporary file its mode, locks it and hands it out. A named
  // file that another save took as a leftover before the lock was taken here
  // sets *taken instead, to be created anew under another name.
  Status Prepared(Descriptor* fd, const std::string& folder, const std::string& path,
                  const FileFacts& target, std::unique_ptr<TemporaryFile>* file, bool* taken) {
    Descriptor lock;
    if (!Lock(fd->get(), &lock)) {
      // Locked by a save that found it unlocked a moment ago and removes it.
      if (!path.empty() && errno == EWOULDBLOCK) {
        *taken = true;
        return Status(Reason::kWriteFailed, "taken by another save");
      }
      return Abandon(path, Failed(Reason::kWriteFailed, errno));
    }
    if (!path.empty()) {
      struct stat opened, named;
      if (::fstat(fd->get(), &opened) != 0)
        return Abandon(path, Failed(Reason::kWriteFailed, errno));
      // Removed as a leftover before the lock was taken; the name may be another's now.
      if (::lstat(path.c_str(), &named) != 0 || !SameFile(opened, named)) {
        *taken = true;
        return Status(Reason::kWriteFailed, "taken by another save");
      }
    }
    if (target.exists &&
        Retried([&] { return ::fchmod(fd->get(), static_cast<mode_t>(target.mode & 0777)); }) != 0)
      return Abandon(path, Failed(Reason::kOwnerNotKept, errno));
    file->reset(new PosixTemporaryFile(fd->release(), lock.release(), folder, path));
    return Status::Ok();
  }

  // Removes a named temporary file that will not be used, and passes `status` on.
  static Status Abandon(const std::string& path, Status status) {
    if (!path.empty()) ::unlink(path.c_str());
    return status;
  }

  EnvOptions options_;
};

}  // namespace

// Paths are bytes here, whatever characters they name.
Env& Env::Default(PathText) {
  static PosixEnv env{EnvOptions()};
  return env;
}

std::unique_ptr<Env> NewSystemEnv(const EnvOptions& options) {
  return std::unique_ptr<Env>(new PosixEnv(options));
}

}  // namespace talvoro

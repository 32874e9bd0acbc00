// Env: the one seam between the library and the operating system. Loading a
// document, saving one and IsFileExist reach files only through it; each
// platform implements it in one file (env_posix.cpp, env_windows.cpp), and
// nothing else in the library includes a system header. Tests wrap it to fail
// any single call.
//
// Every call answers a Status. A system call that a signal interrupts before
// it has done anything is made again inside the implementation, so callers
// never see it. Reads and writes may move fewer bytes than asked; the
// callers loop.
#ifndef TALVORO_OS_ENV_H_
#define TALVORO_OS_ENV_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "os/status.h"

namespace talvoro {

// A file opened for reading.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  // Reads up to `capacity` bytes into `buffer`; *got is 0 at the end.
  virtual Status Read(char* buffer, std::size_t capacity, std::size_t* got) = 0;
};

// What a save needs to know of the file it replaces.
struct FileFacts {
  bool exists = false;
  bool regular = false;
  bool writable = false;    // the caller may write it
  std::uint32_t mode = 0;   // permission bits, where the platform has them
  std::int64_t owner = -1;  // owning user and group, where the platform has them
  std::int64_t group = -1;
  std::uint64_t links = 0;  // names the file has
};

// The new file of a save, beside its target. Until it is published it is
// removed again when destroyed, whatever happened before.
class TemporaryFile {
 public:
  virtual ~TemporaryFile() = default;
  // Gives the file the owner and group of the target it will replace.
  virtual Status KeepOwner(const FileFacts& target) = 0;
  // Copies the extended attributes of `target` (ACLs among them) that the
  // system lets the caller set.
  virtual Status KeepAttributes(const std::string& target) = 0;
  virtual Status Write(const char* data, std::size_t size, std::size_t* written) = 0;
  virtual Status Sync() = 0;
  // Makes the complete file an entry of its folder, where it was created
  // without a name; after this, Path() names it.
  virtual Status Link() = 0;
  // Closes the file for writing. A save still in progress stays recognisable
  // as such (RemoveAbandoned leaves it alone) until the file is destroyed.
  virtual Status Close() = 0;
  virtual const std::string& Path() const = 0;
  // The file now stands under another name: nothing is left to remove.
  virtual void Published() = 0;
};

// A character set that the system knows: where its characters begin, and
// whether bytes are text in it at all. It converts nothing for the library,
// whose records keep a document's bytes.
class Charset {
 public:
  virtual ~Charset() = default;
  struct Character {
    std::size_t length;   // its bytes; 0: no character of the set begins here
    char32_t code;        // its code point
    char32_t second = 0;  // the second, where the set makes a character of two
                          // (Big5-HKSCS's Ê̄: U+00CA U+0304); 0 otherwise
  };
  // The character at the start of `text`, of the `size` > 0 bytes left.
  virtual Character Next(const char* text, std::size_t size) = 0;
};

// How the system Env creates temporary files; tests take the fallbacks.
struct EnvOptions {
  // Where the file system allows it, the new file has no name until it is
  // complete (Linux O_TMPFILE), so nobody can open it before.
  bool unnamedTemporaryFiles = true;
};

// How the bytes of the paths that an Env takes name their characters.
enum class PathText {
  // The host's narrow characters: on Windows the code page of the file
  // functions (the ANSI code page), converted as the system converts the
  // paths of its "A" functions; elsewhere bytes, as the system takes them.
  kNarrow,
  // UTF-8: what the wide-character faces make of a UTF-16 path
  // (PathFromWide). On POSIX systems these are bytes like any others.
  kUtf8,
};

class Env {
 public:
  virtual ~Env() = default;

  // The operating system, with the default options, taking paths as `text`.
  static Env& Default(PathText text = PathText::kNarrow);

  // IsFileExist: true when at least one file or directory matches `pattern`
  // (the platform's wildcards in its last component). Never fails.
  virtual bool PathExists(const char* pattern) = 0;

  // Opens a regular file for reading, without blocking on FIFOs or devices;
  // *size is what the file system reports (pseudo-files report 0).
  virtual Status OpenForReading(const std::string& path, std::unique_ptr<ReadableFile>* file,
                                std::uint64_t* size) = 0;

  // The file that a write to `path` lands in, through symbolic links.
  virtual Status ResolveLinks(const std::string& path, std::string* target) = 0;
  virtual Status Inspect(const std::string& path, FileFacts* facts) = 0;
  // A new file in `folder`, readable by nobody beyond what `target` allows
  // (a new file: what the process's defaults give) from its first byte on.
  virtual Status CreateTemporary(const std::string& folder, const FileFacts& target,
                                 std::unique_ptr<TemporaryFile>* file) = 0;
  // Puts the file at `from` in the place of `to` in one step, whether or not
  // a file stands at `to`.
  virtual Status Replace(const std::string& from, const std::string& to) = 0;
  // Makes the folder's entries durable.
  virtual Status SyncFolder(const std::string& folder) = 0;

  // The names in `folder`, "." and ".." left out.
  virtual Status ListFolder(const std::string& folder, std::vector<std::string>* names) = 0;
  // Removes a temporary file that a killed save left behind; a file that a
  // save still holds is left alone.
  virtual Status RemoveAbandoned(const std::string& path) = 0;

  // The character set that a declaration's encoding names ("GBK", "Big5",
  // "ISO-8859-1"): glibc's iconv, or the code pages of Windows. Null when the
  // system does not know it.
  virtual std::unique_ptr<Charset> OpenCharset(const std::string& name) = 0;
  // The calling thread's narrow character set as a declaration names it
  // ("GBK", "Big5", "Shift_JIS"): the codeset of LC_CTYPE on POSIX systems,
  // the ANSI code page on Windows. "" where it is UTF-8.
  virtual std::string NarrowCharset() = 0;

  // Path arithmetic in the platform's own terms.
  // `path` as its folder and the name in it ("" when it ends in a separator).
  virtual void Split(const std::string& path, std::string* folder, std::string* name) const = 0;
  virtual std::string Join(const std::string& folder, const std::string& name) const = 0;
  // What ends a line in a saved document ("\n", or "\r\n" where text files
  // end their lines so).
  virtual const char* LineBreak() const = 0;
};

// An Env of the operating system with other options; Default() keeps one
// with the defaults.
std::unique_ptr<Env> NewSystemEnv(const EnvOptions& options);

// A wide-character path as PathText::kUtf8 carries it: UTF-16 (where wchar_t
// has 16 bits; a wider wchar_t holds code points) as UTF-8, a lone surrogate
// kept in the three bytes that WTF-8 gives it, so that every name the system
// can hold comes back unchanged. Null gives "".
std::string PathFromWide(const wchar_t* path);

// The names the temporary files of saves take: ".talvoro-" then 16 hex
// digits then ".tmp", hidden on POSIX systems.
std::string TemporaryName(std::uint64_t random);
bool IsTemporaryName(const std::string& name);

}  // namespace talvoro

#endif  // TALVORO_OS_ENV_H_

#include <cstring>
#include <string>

#include <dirent.h>
#include <sys/stat.h>

#include "talvoro/helper.h"

namespace {

// Owns an open directory stream.
class Directory {
 public:
  explicit Directory(const char* path) : dir_(::opendir(path)) {}
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;
  ~Directory() {
    if (dir_) ::closedir(dir_);
  }
  // The next entry's name, or null at the end or on an error.
  const char* Next() {
    if (!dir_) return nullptr;
    const dirent* entry = ::readdir(dir_);
    return entry ? entry->d_name : nullptr;
  }

 private:
  DIR* dir_;
};

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

}  // namespace

bool CTinyXmlHelper::IsFileExist(const char* path) {
  if (!path || !*path) return false;
  const char* slash = std::strrchr(path, '/');
  const char* last = slash ? slash + 1 : path;
  if (!std::strpbrk(last, "*?")) {
    struct stat info;
    return ::lstat(path, &info) == 0;
  }
  const std::string folder = slash ? std::string(path, static_cast<std::size_t>(last - path)) : ".";
  Directory dir(folder.c_str());
  while (const char* name = dir.Next()) {
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    if (Matches(last, name)) return true;
  }
  return false;
}

// A temporary folder under /tmp that removes itself and everything in it.
#ifndef TALVORO_TESTS_SUPPORT_TEMP_DIR_H_
#define TALVORO_TESTS_SUPPORT_TEMP_DIR_H_

#include <stdexcept>
#include <string>

#include <ftw.h>
#include <stdlib.h>

namespace testutil {

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/talvoro-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    ::nftw(
        path_.c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
  }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace testutil

#endif  // TALVORO_TESTS_SUPPORT_TEMP_DIR_H_

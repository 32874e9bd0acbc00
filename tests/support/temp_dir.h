// A temporary folder that removes itself and everything in it: under $TMPDIR
// (or /tmp) on POSIX systems, under the user's temporary folder on Windows.
#ifndef TALVORO_TESTS_SUPPORT_TEMP_DIR_H_
#define TALVORO_TESTS_SUPPORT_TEMP_DIR_H_

#include <cstdlib>
#include <stdexcept>
#include <string>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <random>
#else
#include <ftw.h>
#include <stdlib.h>
#endif

namespace testutil {

#if defined(_WIN32)
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

class TempDir {
 public:
  TempDir() {
#if defined(_WIN32)
    char base[MAX_PATH + 1];
    const DWORD length = ::GetTempPathA(sizeof base, base);
    if (length == 0 || length > MAX_PATH) throw std::runtime_error("GetTempPathA failed");
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const std::string path = std::string(base) + "talvoro-" + std::to_string(random());
      if (::CreateDirectoryA(path.c_str(), nullptr)) path_ = path;
    }
    if (path_.empty()) throw std::runtime_error("CreateDirectoryA failed");
#else
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/talvoro-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
#endif
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
#if defined(_WIN32)
    Remove(L"\\\\?\\" + std::wstring(path_.begin(), path_.end()));
#else
    ::nftw(
        path_.c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
#endif
  }
  const std::string& path() const {
    return path_;
  }
  std::string operator/(const std::string& name) const {
    return path_ + kSeparator + name;
  }

 private:
#if defined(_WIN32)
  // A folder and everything in it, however deep and whatever the names:
  // through "\\?\" paths, read-only files made writable first.
  static void Remove(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          Remove(path);
        } else {
          ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
          ::DeleteFileW(path.c_str());
        }
      } while (::FindNextFileW(search, &data));
      ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
  }
#endif
  std::string path_;
};

}  // namespace testutil

#endif  // TALVORO_TESTS_SUPPORT_TEMP_DIR_H_

// The file layer on Windows, through the wide-character Win32 calls alone.
// A path arrives as bytes: in the code page of the file functions (the ANSI
// code page) from the narrow faces, converted to UTF-16 as the system
// converts the paths of its "A" functions; as UTF-8 from the wide-character
// faces (PathFromWide), converted back without loss. A path too long for
// MAX_PATH, absolute or relative, is given to the system in its "\\?\" form
// (its full path; "\\?\UNC\" for a share), which lifts that limit; a shorter
// one goes as it came.
//
// Temporary files of saves are created beside the target under a
// ".talvoro-*.tmp" name with CREATE_NEW and no sharing, so from their first
// byte until the save closes them nobody else can open, rename or delete
// them: RemoveAbandoned cannot delete a file that a save holds. Between its
// close and its rename a save holds nothing, so RemoveAbandoned also leaves
// alone a file written in the last minute; a killed save's file goes with a
// later save. An existing target is replaced by ReplaceFileW, which gives the
// new file the target's security descriptor (owner and ACL) and streams, so
// KeepOwner has nothing to do here; KeepAttributes gives it the target's
// hidden, system, archive and not-indexed attributes beforehand, which not
// every implementation of ReplaceFileW carries over. A new target is put in
// place by MoveFileExW.
//
// Another process may hold the target or the temporary file for a moment (a
// virus scanner, an indexer, the host reading it without delete sharing):
// opening and replacing retry a sharing violation briefly before they fail.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <cwchar>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "os/env.h"

namespace talvoro {
namespace {

// Attempts at a temporary name that no other file has.
constexpr int kMaxNameAttempts = 100;
// Tries of a call that another process's handle refuses, and the pause
// between them: about a quarter of a second in all.
constexpr int kSharingTries = 6;
constexpr DWORD kSharingPauseMs = 50;
// How long after its last write a temporary file may still be a live save's,
// in FILETIME units of 100 ns.
constexpr std::uint64_t kAbandonedAfter = 60ull * 10 * 1000 * 1000;
// The attributes of a target that its replacement takes.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// The most one ReadFile or WriteFile moves.
constexpr std::size_t kMaxTransfer = 1u << 30;

std::string SystemMessage(DWORD error) {
  char text[512];
  DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                        text[length - 1] == ' ' || text[length - 1] == '.')) {
    --length;
  }
  std::string message(text, length);
  if (!message.empty()) message += " ";
  return message + "(error " + std::to_string(error) + ")";
}

Status Failed(Reason code, DWORD error) {
  return Status(code, SystemMessage(error));
}

bool NotFound(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
         error == ERROR_INVALID_DRIVE || error == ERROR_BAD_NETPATH || error == ERROR_BAD_NET_NAME;
}

// Another process's handle stands in the way; it may be gone in a moment.
bool HeldByAnother(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_UNABLE_TO_REMOVE_REPLACED || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
         error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
}

// Makes `call` (which answers a Win32 error, or ERROR_SUCCESS) again while
// another process holds the file, a few times; answers the last error.
template <typename Call>
DWORD Persisting(Call call) {
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 1;; ++attempt) {
    error = call();
    if (error == ERROR_SUCCESS || !HeldByAnother(error) || attempt == kSharingTries) return error;
    ::Sleep(kSharingPauseMs);
  }
}

// Owns a file handle and closes it.
class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (valid()) ::CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE release() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }
  void reset(HANDLE handle) {
    if (valid()) ::CloseHandle(handle_);
    handle_ = handle;
  }
  // Closes the handle now; false (with GetLastError) when the system reports
  // an error. The handle is gone either way.
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return ::CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

// Owns a search of FindFirstFileW and ends it with FindClose.
class Search {
 public:
  explicit Search(const std::wstring& pattern)
      : handle_(::FindFirstFileW(pattern.c_str(), &data_)) {}
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;
  ~Search() {
    if (valid()) ::FindClose(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  const wchar_t* name() const { return data_.cFileName; }
  bool Next() { return ::FindNextFileW(handle_, &data_) != 0; }

 private:
  WIN32_FIND_DATAW data_;
  HANDLE handle_;
};

std::uint64_t RandomBits() {
  try {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
  } catch (const std::exception&) {
    // No entropy source: names need only be unlikely to collide, since
    // CREATE_NEW detects a taken name and another one is tried.
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    std::uint64_t x = static_cast<std::uint64_t>(now) ^
                      (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 40) ^
                      (static_cast<std::uint64_t>(::GetCurrentThreadId()) << 20);
    x ^= x >> 31;
    x *= 0x9E3779B97F4A7C15u;
    return x ^ (x >> 29);
  }
}

template <typename Char>
bool IsSeparator(Char c) {
  return c == '\\' || c == '/';
}

// The paths of one PathText: their bytes as UTF-16 and back, and where their
// characters begin.
class PathCodec {
 public:
  explicit PathCodec(PathText text) : text_(text) {}

  std::wstring Wide(const std::string& path) const {
    if (text_ == PathText::kUtf8) return FromUtf8(path);
    if (path.empty()) return std::wstring();
    const UINT page = CodePage();
    const int size = static_cast<int>(std::min<std::size_t>(path.size(), INT_MAX));
    const int length = ::MultiByteToWideChar(page, 0, path.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) ::MultiByteToWideChar(page, 0, path.data(), size, &wide[0], length);
    return wide;
  }

  std::string Narrow(const wchar_t* name) const {
    if (text_ == PathText::kUtf8) return PathFromWide(name);
    const UINT page = CodePage();
    const int length = ::WideCharToMultiByte(page, 0, name, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(page, 0, name, -1, &text[0], length, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(length - 1));
    return text;
  }

  // The path as the wide calls take it: "\\?\" before its full path when
  // that is too long for MAX_PATH.
  std::wstring Native(const std::string& path) const {
    std::wstring wide = Wide(path);
    const bool absolute = (wide.size() >= 3 && wide[1] == L':' && IsSeparator(wide[2])) ||
                          (wide.size() >= 2 && IsSeparator(wide[0]) && IsSeparator(wide[1]));
    if (absolute && wide.size() < MAX_PATH) return wide;
    if (wide.compare(0, 4, L"\\\\?\\") == 0 || wide.compare(0, 4, L"\\\\.\\") == 0) return wide;
    const DWORD need = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (need == 0) return wide;
    std::wstring full(need, L'\0');
    const DWORD got = ::GetFullPathNameW(wide.c_str(), need, &full[0], nullptr);
    if (got == 0 || got >= need) return wide;
    full.resize(got);
    if (full.size() < MAX_PATH) return wide;
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
  }

  // The bytes of the character that begins at `at`: two for a lead byte of
  // a double-byte code page (whose second byte may be a backslash's).
  std::size_t CharacterAt(const std::string& path, std::size_t at) const {
    const bool lead = text_ == PathText::kNarrow && at + 1 < path.size() &&
                      ::IsDBCSLeadByteEx(CodePage(), static_cast<BYTE>(path[at]));
    return lead ? 2 : 1;
  }

  // The length of the root at the start of `path`: "C:" (a drive's current
  // folder), "C:\", "\", or "\\server\share\" (UNC, with "\\?\" and "\\.\"
  // prefixes taken as a server name); 0 for a relative path.
  std::size_t RootLength(const std::string& path) const {
    const std::size_t size = path.size();
    if (size >= 2 && path[1] == ':' && CharacterAt(path, 0) == 1)
      return size >= 3 && IsSeparator(path[2]) ? 3 : 2;
    if (size >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
      std::size_t at = 2;
      for (int part = 0; part < 2; ++part) {
        while (at < size && !IsSeparator(path[at]))
          at += CharacterAt(path, at);
        if (at < size) ++at;  // the separator after the server, then the share
      }
      return std::min(at, size);
    }
    return size >= 1 && IsSeparator(path[0]) ? 1 : 0;
  }

 private:
  // The code page of the file functions, as the "A" functions take it.
  static UINT CodePage() { return ::AreFileApisANSI() ? CP_ACP : CP_OEMCP; }

  // UTF-8 as PathFromWide writes it, three-byte surrogates included; a byte
  // that begins no character is U+FFFD.
  static std::wstring FromUtf8(const std::string& text) {
    std::wstring wide;
    for (std::size_t at = 0; at < text.size();) {
      const unsigned char lead = static_cast<unsigned char>(text[at]);
      const int trail = lead < 0x80    ? 0
                        : lead >= 0xF0 ? 3
                        : lead >= 0xE0 ? 2
                        : lead >= 0xC0 ? 1
                                       : -1;
      char32_t code = trail < 0 ? 0xFFFD : lead & (0x7F >> (trail + (trail > 0)));
      int got = 0;
      while (trail > 0 && got < trail && at + 1 + got < text.size() &&
             (static_cast<unsigned char>(text[at + 1 + got]) & 0xC0) == 0x80) {
        code = (code << 6) | (static_cast<unsigned char>(text[at + 1 + got]) & 0x3F);
        ++got;
      }
      if (trail > 0 && got < trail) code = 0xFFFD;
      at += 1 + static_cast<std::size_t>(got);
      if (code >= 0x10000 && code <= 0x10FFFF) {
        wide += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
        wide += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
      } else {
        wide += static_cast<wchar_t>(code > 0x10FFFF ? 0xFFFD : code);
      }
    }
    return wide;
  }

  PathText text_;
};

std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class WindowsReadableFile : public ReadableFile {
 public:
  explicit WindowsReadableFile(HANDLE handle) : handle_(handle) {}
  Status Read(char* buffer, std::size_t capacity, std::size_t* got) override {
    DWORD read = 0;
    const DWORD ask = static_cast<DWORD>(capacity < kMaxTransfer ? capacity : kMaxTransfer);
    if (!::ReadFile(handle_.get(), buffer, ask, &read, nullptr)) {
      *got = 0;
      return Failed(Reason::kUnreadable, ::GetLastError());
    }
    *got = read;
    return Status::Ok();
  }

 private:
  Handle handle_;
};

class WindowsTemporaryFile : public TemporaryFile {
 public:
  WindowsTemporaryFile(HANDLE handle, std::string path, std::wstring native, PathCodec codec)
      : handle_(handle), path_(std::move(path)), native_(std::move(native)), codec_(codec) {}

  ~WindowsTemporaryFile() override {
    if (published_) return;
    // An open file cannot be deleted: close it first.
    if (handle_.valid()) handle_.Close();
    ::DeleteFileW(native_.c_str());
  }

  // ReplaceFileW gives the new file the target's owner and ACL.
  Status KeepOwner(const FileFacts&) override { return Status::Ok(); }

  Status KeepAttributes(const std::string& target) override {
    const DWORD attributes = ::GetFileAttributesW(codec_.Native(target).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
      return Failed(Reason::kAttributesNotKept, ::GetLastError());
    FILE_BASIC_INFO info = {};  // times of zero are left as they are
    info.FileAttributes = attributes & kKeptAttributes;
    if (info.FileAttributes == 0) return Status::Ok();
    if (!::SetFileInformationByHandle(handle_.get(), FileBasicInfo, &info, sizeof info))
      return Failed(Reason::kAttributesNotKept, ::GetLastError());
    return Status::Ok();
  }

  Status Write(const char* data, std::size_t size, std::size_t* written) override {
    DWORD done = 0;
    const DWORD ask = static_cast<DWORD>(size < kMaxTransfer ? size : kMaxTransfer);
    if (!::WriteFile(handle_.get(), data, ask, &done, nullptr)) {
      *written = 0;
      return Failed(Reason::kWriteFailed, ::GetLastError());
    }
    *written = done;
    return Status::Ok();
  }

  Status Sync() override {
    if (!::FlushFileBuffers(handle_.get())) return Failed(Reason::kSyncFailed, ::GetLastError());
    return Status::Ok();
  }

  // The file was created under its name.
  Status Link() override { return Status::Ok(); }

  Status Close() override {
    if (!handle_.Close()) return Failed(Reason::kCloseFailed, ::GetLastError());
    return Status::Ok();
  }

  const std::string& Path() const override { return path_; }
  void Published() override { published_ = true; }

 private:
  Handle handle_;
  std::string path_;
  std::wstring native_;
  PathCodec codec_;
  bool published_ = false;
};

Status CreateFailed(DWORD error) {
  switch (error) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return Failed(Reason::kFolderMissing, error);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return Failed(Reason::kNotWritable, error);
    default:
      return Failed(Reason::kWriteFailed, error);
  }
}

// The code pages by the names that declarations give them; a code page's
// first name is the one a save declares for it.
struct CodePageName {
  const char* name;
  UINT codePage;
};
constexpr CodePageName kCodePages[] = {
    {"UTF-8", 65001},       {"UTF8", 65001},         {"GBK", 936},           {"GB2312", 936},
    {"CP936", 936},         {"X-GBK", 936},          {"GB18030", 54936},     {"GB18030", 936},
    {"Big5", 950},          {"CP950", 950},          {"Shift_JIS", 932},     {"SJIS", 932},
    {"CP932", 932},         {"Windows-31J", 932},    {"MS_Kanji", 932},      {"CP949", 949},
    {"UHC", 949},           {"KS_C_5601-1987", 949}, {"EUC-KR", 51949},      {"EUC-JP", 20932},
    {"windows-874", 874},   {"TIS-620", 874},        {"windows-1250", 1250}, {"windows-1251", 1251},
    {"windows-1252", 1252}, {"windows-1253", 1253},  {"windows-1254", 1254}, {"windows-1255", 1255},
    {"windows-1256", 1256}, {"windows-1257", 1257},  {"windows-1258", 1258}, {"ISO-8859-1", 28591},
    {"ISO-8859-2", 28592},  {"ISO-8859-3", 28593},   {"ISO-8859-4", 28594},  {"ISO-8859-5", 28595},
    {"ISO-8859-6", 28596},  {"ISO-8859-7", 28597},   {"ISO-8859-8", 28598},  {"ISO-8859-9", 28599},
    {"ISO-8859-13", 28603}, {"ISO-8859-15", 28605},  {"KOI8-R", 20866},      {"KOI8-U", 21866},
    {"US-ASCII", 20127},    {"ASCII", 20127},        {"BIG5-HKSCS", 950},    {"IBM866", 866},
    {"MACINTOSH", 10000},   {"MAC-CYRILLIC", 10007}, {"ISO-8859-10", 28600}, {"ISO-8859-14", 28604},
    {"ISO-8859-16", 28606},
};

bool SameName(const char* a, const std::string& b) {
  const auto lower = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  std::size_t i = 0;
  for (; a[i] && i < b.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return !a[i] && i == b.size();
}

// A code page of Windows. A character is the shortest run of bytes that
// MultiByteToWideChar converts whole without MB_ERR_INVALID_CHARS failing.
class CodePageCharset : public Charset {
 public:
  explicit CodePageCharset(UINT codePage) : codePage_(codePage) {}

  Character Next(const char* text, std::size_t size) override {
    for (std::size_t length = 1; length <= size && length <= 4; ++length) {
      wchar_t wide[4];
      const int made = ::MultiByteToWideChar(codePage_, MB_ERR_INVALID_CHARS, text,
                                             static_cast<int>(length), wide, 4);
      if (made <= 0) continue;
      char32_t codes[2] = {};
      for (int at = 0, n = 0; at < made && n < 2; ++n) {
        char32_t code = wide[at++];
        if (code >= 0xD800 && code < 0xDC00 && at < made && wide[at] >= 0xDC00 && wide[at] < 0xE000)
          code = 0x10000 + ((code - 0xD800) << 10) + (wide[at++] - 0xDC00);
        codes[n] = code;
      }
      return {length, codes[0], codes[1]};
    }
    return {0, 0};
  }

 private:
  UINT codePage_;
};

class WindowsEnv : public Env {
 public:
  explicit WindowsEnv(PathText text) : codec_(text) {}

  // One FindFirstFileW, whatever the pattern: its wildcards, "." and "..",
  // short names and case-insensitive matching are the system's own. Never
  // fails: a pattern that cannot be converted matches nothing.
  bool PathExists(const char* pattern) override {
    if (!pattern) return false;
    try {
      const Search search(codec_.Native(pattern));
      return search.valid();
    } catch (const std::bad_alloc&) {
      return false;
    }
  }

  Status OpenForReading(const std::string& path, std::unique_ptr<ReadableFile>* file,
                        std::uint64_t* size) override {
    const std::wstring native = codec_.Native(path);
    Handle handle;
    const DWORD error = Persisting([&] {
      handle.reset(::CreateFileW(native.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
      return handle.valid() ? ERROR_SUCCESS : ::GetLastError();
    });
    if (error != ERROR_SUCCESS) {
      if (NotFound(error)) return Failed(Reason::kMissing, error);
      // A folder cannot be opened this way; say what it is.
      const DWORD attributes = ::GetFileAttributesW(native.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Status(Reason::kNotRegular);
      return Failed(Reason::kUnreadable, error);
    }
    // Devices (NUL, CON, COM1) and pipes are no documents.
    if (::GetFileType(handle.get()) != FILE_TYPE_DISK) return Status(Reason::kNotRegular);
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(handle.get(), &info))
      return Failed(Reason::kUnreadable, ::GetLastError());
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Status(Reason::kNotRegular);
    LARGE_INTEGER bytes;
    if (!::GetFileSizeEx(handle.get(), &bytes))
      return Failed(Reason::kUnreadable, ::GetLastError());
    *size = static_cast<std::uint64_t>(bytes.QuadPart);
    file->reset(new WindowsReadableFile(handle.get()));
    handle.release();  // the readable file owns it now
    return Status::Ok();
  }

  // Symbolic links and junctions are the system's to follow.
  Status ResolveLinks(const std::string& path, std::string* target) override {
    *target = path;
    return Status::Ok();
  }

  Status Inspect(const std::string& path, FileFacts* facts) override {
    *facts = FileFacts();
    // Attribute access only: another process's share mode does not refuse it.
    // FILE_FLAG_BACKUP_SEMANTICS lets a folder open too, to be told apart.
    const std::wstring native = codec_.Native(path);
    Handle handle;
    const DWORD error = Persisting([&] {
      handle.reset(::CreateFileW(native.c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
      return handle.valid() ? ERROR_SUCCESS : ::GetLastError();
    });
    if (error == ERROR_FILE_NOT_FOUND) return Status::Ok();
    if (NotFound(error)) return Failed(Reason::kFolderMissing, error);
    if (error != ERROR_SUCCESS) return Failed(Reason::kNotWritable, error);
    facts->exists = true;
    if (::GetFileType(handle.get()) != FILE_TYPE_DISK) return Status::Ok();
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(handle.get(), &info))
      return Failed(Reason::kNotWritable, ::GetLastError());
    facts->regular = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    facts->writable = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
    facts->links = info.nNumberOfLinks;
    return Status::Ok();
  }

  Status CreateTemporary(const std::string& folder, const FileFacts&,
                         std::unique_ptr<TemporaryFile>* file) override {
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
      const std::string path = Join(folder, TemporaryName(RandomBits()));
      std::wstring native = codec_.Native(path);
      // No sharing: nobody opens the new text before it replaces the target.
      Handle handle(::CreateFileW(native.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!handle.valid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
        return CreateFailed(error);
      }
      try {
        file->reset(new WindowsTemporaryFile(handle.get(), path, native, codec_));
      } catch (...) {
        handle.Close();
        ::DeleteFileW(native.c_str());
        throw;
      }
      handle.release();  // the temporary file owns it now
      return Status::Ok();
    }
    return Status(Reason::kWriteFailed, "no free temporary name");
  }

  Status Replace(const std::string& from, const std::string& to) override {
    const std::wstring source = codec_.Native(from), target = codec_.Native(to);
    if (!Exists(target)) {
      const DWORD error = Persisting([&] {
        return ::MoveFileExW(source.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                   ? ERROR_SUCCESS
                   : ::GetLastError();
      });
      if (error != ERROR_SUCCESS) return Failed(Reason::kRenameFailed, error);
      return Status::Ok();
    }
    // With a backup name, a failed ReplaceFileW leaves both files under
    // their names, or the old one under the backup name, from where it is
    // put back. (Without one, it may have removed the target already when it
    // fails to rename the new file.) The backup's name is no temporary
    // file's: should it ever hold the only copy, no later save removes it.
    const std::string backup = from + ".old";
    const std::wstring kept = codec_.Native(backup);
    for (int attempt = 1;; ++attempt) {
      if (::ReplaceFileW(target.c_str(), source.c_str(), kept.c_str(), 0, nullptr, nullptr)) {
        // The old text is no longer needed; should the removal fail, the
        // file is only clutter.
        ::DeleteFileW(kept.c_str());
        return Status::Ok();
      }
      const DWORD error = ::GetLastError();
      if (!Exists(target) && Exists(kept) &&
          !::MoveFileExW(kept.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return Status(Reason::kRenameFailed,
                      SystemMessage(error) + "; the old file is kept as " + backup);
      }
      if (!HeldByAnother(error) || attempt == kSharingTries)
        return Failed(Reason::kRenameFailed, error);
      ::Sleep(kSharingPauseMs);
    }
  }

  // NTFS journals its folder entries, and Windows has no call that flushes a
  // folder: MOVEFILE_WRITE_THROUGH makes a new file's rename durable before
  // MoveFileExW returns, and ReplaceFileW's is committed by the file system.
  Status SyncFolder(const std::string&) override { return Status::Ok(); }

  Status ListFolder(const std::string& folder, std::vector<std::string>* names) override {
    names->clear();
    Search search(codec_.Native(Join(folder, "*")));
    if (!search.valid()) {
      const DWORD error = ::GetLastError();
      // A drive's root has no "." or "..": empty, it has no entry at all.
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return Status::Ok();
      return Failed(Reason::kUnreadable, error);
    }
    do {
      const wchar_t* name = search.name();
      if (std::wcscmp(name, L".") != 0 && std::wcscmp(name, L"..") != 0)
        names->push_back(codec_.Narrow(name));
    } while (search.Next());
    const DWORD error = ::GetLastError();
    if (error != ERROR_NO_MORE_FILES) return Failed(Reason::kUnreadable, error);
    return Status::Ok();
  }

  // A live save holds its file without delete sharing, so DeleteFileW fails
  // on it; from its close to its rename it is younger than kAbandonedAfter.
  Status RemoveAbandoned(const std::string& path) override {
    const std::wstring native = codec_.Native(path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(native.c_str(), GetFileExInfoStandard, &data))
      return Failed(Reason::kMissing, ::GetLastError());
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const std::uint64_t written = std::max(Ticks(data.ftCreationTime), Ticks(data.ftLastWriteTime));
    if (Ticks(now) < written + kAbandonedAfter)
      return Status(Reason::kNotWritable, "written recently: a save may still use it");
    if (!::DeleteFileW(native.c_str())) return Failed(Reason::kNotWritable, ::GetLastError());
    return Status::Ok();
  }

  void Split(const std::string& path, std::string* folder, std::string* name) const override {
    const std::size_t root = codec_.RootLength(path);
    // After the last separator, found from the front: a separator's byte may
    // be the second of a character.
    std::size_t end = root;
    for (std::size_t at = root; at < path.size(); at += codec_.CharacterAt(path, at)) {
      if (IsSeparator(path[at])) end = at + 1;
    }
    *name = path.substr(end);
    if (end > root) {
      // "dir\name": the folder without its separator.
      *folder = path.substr(0, end - 1);
    } else if (root > 0) {
      // "C:\name", "C:name", "\name", "\\server\share\name": the root itself.
      *folder = path.substr(0, root);
    } else {
      *folder = ".";
    }
  }

  std::string Join(const std::string& folder, const std::string& name) const override {
    if (folder.empty()) return name;
    const char last = folder.back();
    // After a separator, and after a bare drive ("C:" + "x" is "C:x"). A
    // folder ending in a double-byte character whose second byte is a
    // backslash's still needs one.
    std::size_t at = 0;
    while (at + codec_.CharacterAt(folder, at) < folder.size())
      at += codec_.CharacterAt(folder, at);
    const bool endsInSeparator = at == folder.size() - 1 && IsSeparator(last);
    if (endsInSeparator || (folder.size() == 2 && last == ':')) return folder + name;
    return folder + "\\" + name;
  }

  // TinyXML's SaveFile writes in text mode here, which ends lines with CR LF.
  const char* LineBreak() const override { return "\r\n"; }

  std::unique_ptr<Charset> OpenCharset(const std::string& name) override {
    for (const CodePageName& known : kCodePages) {
      if (SameName(known.name, name) && ::IsValidCodePage(known.codePage))
        return std::unique_ptr<Charset>(new CodePageCharset(known.codePage));
    }
    return nullptr;
  }

  std::string NarrowCharset() override {
    const UINT codePage = ::GetACP();
    if (codePage == CP_UTF8) return "";
    for (const CodePageName& known : kCodePages) {
      if (known.codePage == codePage) return known.name;
    }
    return "CP" + std::to_string(codePage);
  }

 private:
  PathCodec codec_;
};

}  // namespace

Env& Env::Default(PathText text) {
  static WindowsEnv narrow(PathText::kNarrow), utf8(PathText::kUtf8);
  return text == PathText::kUtf8 ? utf8 : narrow;
}

// The options choose among POSIX ways of creating files; Windows has one.
std::unique_ptr<Env> NewSystemEnv(const EnvOptions&) {
  return std::unique_ptr<Env>(new WindowsEnv(PathText::kNarrow));
}

}  // namespace talvoro

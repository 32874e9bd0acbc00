// Saving a document without ever losing the old one: the new text is printed
// into a temporary file in the target's folder, synced, and renamed over the
// target in one step. Until the rename the target is untouched; after it, the
// target holds the whole new document.
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "frame/document.h"
#include "frame/file_bytes.h"

namespace talvoro {
namespace {

// Links followed before giving up, as the kernel does when it looks up a path.
constexpr int kMaxLinks = 40;
// Attempts at a temporary name that no other file has.
constexpr int kMaxNameAttempts = 100;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

// Follows `path` through symbolic links (absolute or relative to the link's
// folder, also chains) to the file that a write lands in, which may not exist
// yet. False for a loop or any lookup error other than a missing file.
bool ResolveLinks(std::string& path) {
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT;
    if (!S_ISLNK(info.st_mode)) return true;
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) return false;
    const std::string next(target, static_cast<std::size_t>(length));
    path = next[0] == '/' ? next : Join(FolderOf(path), next);
  }
  return false;
}

// A new file that is removed again unless it has been renamed into place.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }

  // Creates the file in `folder` under a fresh name. The mode 0666 goes
  // through the umask, as it does for any new file the process creates.
  bool Create(const std::string& folder) {
    std::random_device random;
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
      char name[40];
      std::snprintf(name, sizeof name, ".talvoro-%08x%08x.tmp", random(), random());
      const std::string path = Join(folder, name);
      const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0) {
        path_ = path;
        file_.reset(new FileDescriptor(fd));
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
  }

  int fd() const { return file_->get(); }
  const std::string& path() const { return path_; }

  // Syncs and closes the file, then renames it over `target`.
  bool Replace(const std::string& target) {
    if (::fsync(fd()) != 0 || !file_->Close()) return false;
    if (::rename(path_.c_str(), target.c_str()) != 0) return false;
    path_.clear();
    return true;
  }

 private:
  std::string path_;
  std::unique_ptr<FileDescriptor> file_;
};

struct StreamCloser {
  void operator()(std::FILE* stream) const { std::fclose(stream); }
};

// Prints the document as TinyXML saves it (byte-order mark included when the
// loaded document had one) into `fd`, checking every write and the close.
bool Print(const TiXmlDocument& doc, int fd) {
  const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (copy < 0) return false;
  std::unique_ptr<std::FILE, StreamCloser> stream(::fdopen(copy, "w"));
  if (!stream) {
    ::close(copy);
    return false;
  }
  const bool printed = doc.SaveFile(stream.get());
  const bool flushed = std::fflush(stream.get()) == 0;
  const bool closed = std::fclose(stream.release()) == 0;
  return printed && flushed && closed;
}

// Text made only of white space, which reading drops and so never comes back.
bool DroppedOnReading(const TiXmlNode* node) {
  const TiXmlText* text = node->ToText();
  if (!text || text->CDATA()) return false;
  const std::string& value = text->ValueStr();
  return std::all_of(value.begin(), value.end(),
                     [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

const TiXmlNode* Kept(const TiXmlNode* node) {
  while (node && DroppedOnReading(node))
    node = node->NextSibling();
  return node;
}

// Two nodes say the same, apart from their children.
bool SameNode(const TiXmlNode& a, const TiXmlNode& b) {
  if (a.Type() != b.Type() || a.ValueStr() != b.ValueStr()) return false;
  if (const TiXmlDeclaration* da = a.ToDeclaration()) {
    const TiXmlDeclaration* db = b.ToDeclaration();
    return std::strcmp(da->Version(), db->Version()) == 0 &&
           std::strcmp(da->Encoding(), db->Encoding()) == 0 &&
           std::strcmp(da->Standalone(), db->Standalone()) == 0;
  }
  if (const TiXmlText* ta = a.ToText()) return ta->CDATA() == b.ToText()->CDATA();
  if (const TiXmlElement* ea = a.ToElement()) {
    const TiXmlAttribute* x = ea->FirstAttribute();
    const TiXmlAttribute* y = b.ToElement()->FirstAttribute();
    for (; x && y; x = x->Next(), y = y->Next()) {
      if (x->NameTStr() != y->NameTStr() || x->ValueStr() != y->ValueStr()) return false;
    }
    return !x && !y;
  }
  return true;
}

// Whether `read` (a document loaded from what `written` printed) holds the
// same nodes in the same order, white space that reading drops aside. Walks
// both trees side by side with an explicit stack, as deep as they go.
bool SameDocument(const TiXmlDocument& written, const TiXmlDocument& read) {
  std::vector<std::pair<const TiXmlNode*, const TiXmlNode*>> pending{{&written, &read}};
  while (!pending.empty()) {
    const auto [a, b] = pending.back();
    pending.pop_back();
    const TiXmlNode* x = Kept(a->FirstChild());
    const TiXmlNode* y = Kept(b->FirstChild());
    for (; x && y; x = Kept(x->NextSibling()), y = Kept(y->NextSibling())) {
      if (!SameNode(*x, *y)) return false;
      pending.emplace_back(x, y);
    }
    if (x || y) return false;
  }
  return true;
}

}  // namespace

bool Document::Save(const char* path) const {
  if (!path) return false;
  std::string target = path;
  if (!ResolveLinks(target) || NameOf(target).empty()) return false;

  // An existing target must be a regular file that we may write, as it would
  // have to be for writing in place; its permission bits carry over.
  struct stat existing;
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (!exists && errno != ENOENT) return false;
  if (exists && (!S_ISREG(existing.st_mode) ||
                 ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)) {
    return false;
  }

  const std::string folder = FolderOf(target);
  TemporaryFile temporary;
  if (!temporary.Create(folder)) return false;
  if (exists && ::fchmod(temporary.fd(), existing.st_mode & 0777) != 0) return false;
  if (!Print(doc_, temporary.fd())) return false;
  // TinyXML does not always read back what it prints: in a UTF-8 document a
  // value whose bytes are not UTF-8 (a lead byte at its end, say) swallows its
  // closing quote, and a declaration printed anew can change how the rest is
  // read. A text that does not load back as this very document never
  // replaces the target.
  Document printed;
  if (!printed.Load(temporary.path().c_str()) || !SameDocument(doc_, printed.Xml())) return false;
  if (!temporary.Replace(target)) return false;

  // Make the rename itself durable. The new content is in place by now, so a
  // failure here cannot be reported as "the old file is kept"; it is left out.
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) ::fsync(dir.get());
  return true;
}

}  // namespace talvoro

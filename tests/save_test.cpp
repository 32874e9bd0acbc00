// Saving replaces a file whole or not at all. Failures are produced for real:
// a forked child limits its file size (SIGXFSZ ignored, so writes fail with
// EFBIG, for root too) or drops its privileges, then calls a writer.
#include <dirent.h>
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

#include "frame/document.h"
#include "talvoro/talvoro.h"
#include "test_util.h"

namespace {

using testutil::ReadFile;
using testutil::Set;
using testutil::WriteFile;
using testutil::Zeroed;

using Writer = std::function<bool(const std::string& path)>;

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

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.insert(name);
    }
    ::closedir(dir);
  }
  return names;
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

// A software list and a shortcut list of about 3.6 KB, valid for every reader.
std::string LargeDocument() {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n<items>\n";
  for (int i = 0; i < 60; ++i) {
    xml += "    <item id=\"" + std::to_string(i) + "\" file=\"tool-" + std::to_string(i) +
           ".exe\" version=\"1\"></item>\n";
  }
  xml += "    <more><item id=\"7\" /></more>\n</items>\n";
  return xml;
}

// The four writers, each changing the document so that it is saved anew.
const std::vector<std::pair<const char*, Writer>>& Writers() {
  static const std::vector<std::pair<const char*, Writer>> writers = {
      {"SetSoftVersion",
       [](const std::string& path) {
         auto soft = Zeroed<tagSoftData>();
         soft.id = 7;
         soft.version = 123456;
         return CTinyXmlHelper::SetSoftVersion(soft, path.c_str());
       }},
      {"DeleteShutCutInfo",
       [](const std::string& path) {
         auto shortcut = Zeroed<tagShortCutInfo>();
         Set(shortcut.file, "tool-3.exe");
         return CTinyXmlHelper::DeleteShutCutInfo(path.c_str(), shortcut);
       }},
      {"WrittingShutCutInfo",
       [](const std::string& path) {
         CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> array;
         auto shortcut = Zeroed<tagShortCutInfo>();
         for (int i = 0; i < 20; ++i) {
           Set(shortcut.file, "C:\\Program Files\\Desk\\shortcut-" + std::to_string(i) + ".exe");
           array.Add(shortcut);
         }
         return CTinyXmlHelper::WrittingShutCutInfo(path.c_str(), array);
       }},
      {"WrittingUpdateFile",
       [](const std::string& path) {
         CList<tagUpdateData, const tagUpdateData&> list;
         auto update = Zeroed<tagUpdateData>();
         for (int i = 0; i < 20; ++i) {
           Set(update.file, "package-" + std::to_string(i) + ".zip");
           Set(update.check, "5d41402abc4b2a76b9719d911017c592");
           list.AddTail(update);
         }
         return CTinyXmlHelper::WrittingUpdateFile(path.c_str(), list);
       }},
  };
  return writers;
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

TEST(Save, AMissingFolderIsAFailureAndCreatesNothing) {
  testutil::TempDir dir;
  for (const auto& [name, write] : Writers()) {
    EXPECT_FALSE(write(dir / "missing/doc.xml")) << name;
    EXPECT_FALSE(write(dir / "doc.xml/")) << name;
    EXPECT_TRUE(Entries(dir.path()).empty()) << name;
  }
}

TEST(Save, ATargetThatIsNoRegularFileIsLeftAlone) {
  testutil::TempDir dir;
  ASSERT_EQ(::mkdir((dir / "doc.xml").c_str(), 0755), 0);
  talvoro::Document doc;
  EXPECT_FALSE(doc.Save((dir / "doc.xml").c_str()).ok());
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"doc.xml"});
  EXPECT_TRUE(Entries(dir / "doc.xml").empty());
  EXPECT_FALSE(doc.Save(nullptr).ok());
  EXPECT_FALSE(doc.Save("").ok());
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

TEST(Save, AByteOrderMarkIsKeptOnlyWhenTheLoadedDocumentHadOne) {
  const std::string bom = "\xEF\xBB\xBF";
  for (const auto& [name, write] : Writers()) {
    for (const bool marked : {true, false}) {
      testutil::TempDir dir;
      const std::string path = dir / "doc.xml";
      WriteFile(path, (marked ? bom : "") + LargeDocument());
      ASSERT_TRUE(write(path)) << name;
      const bool loaded = name[0] == 'S' || name[0] == 'D';  // edits the loaded document
      EXPECT_EQ(ReadFile(path).compare(0, 3, bom) == 0, marked && loaded) << name;
      EXPECT_EQ(ReadFile(path).find("<?xml"), marked && loaded ? 3u : 0u) << name;
    }
  }
}

TEST(Save, PrintsExactlyWhatTinyXmlSaves) {
  testutil::TempDir dir;
  const std::string xml =
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- note -->\n<r a='1' b=\"&amp;\" c='say \"hi\"'>"
      "<x>t &lt; u</x><![CDATA[<raw>]]><?pi x?><y/><m>text<y/>more</m></r>\n";
  WriteFile(dir / "in.xml", xml);
  TiXmlDocument reference;
  ASSERT_TRUE(reference.LoadFile((dir / "in.xml").c_str()));
  ASSERT_TRUE(reference.SaveFile((dir / "reference.xml").c_str()));

  talvoro::Document doc;
  ASSERT_NE(doc.Load((dir / "in.xml").c_str()), nullptr);
  ASSERT_TRUE(doc.Save((dir / "ours.xml").c_str()).ok());
  EXPECT_EQ(ReadFile(dir / "ours.xml"), ReadFile(dir / "reference.xml"));
}

}  // namespace

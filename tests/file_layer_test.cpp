// Loading and saving through a file layer that fails one chosen call: every
// failure of a save keeps the old file to the byte and leaves nothing behind;
// interrupted calls are repeated; what a document may be read from is bounded
// before and while it is read.
#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "fault_env.h"
#include "test_util.h"
#include "xml/document.h"
#include "xml/limits.h"

namespace {

using Document = talvoro::XmlDocument;
using talvoro::Reason;
using talvoro::Status;
using testutil::Entries;
using testutil::FaultEnv;
using testutil::ReadFile;
using testutil::WriteFile;

std::string Shortcuts(int count) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n<items>\n";
  for (int i = 0; i < count; ++i)
    xml += "    <item file=\"C:\\Desk\\tool-" + std::to_string(i) + ".exe\"></item>\n";
  return xml + "</items>\n";
}

// Loads `path` through `env`, drops the first item and saves it back.
Status Edit(talvoro::Env& env, const std::string& path) {
  Document doc(env);
  const auto [status, root] = doc.Load(path.c_str());
  if (!root) return status;
  root->RemoveChild(root->FirstChildElement());
  return doc.Save(path.c_str());
}

// The calls whose failure a save survives: tidying the folder beforehand,
// and making the rename durable once the new file is in place.
bool Tolerated(const std::string& call) {
  return call == "ListFolder" || call == "RemoveAbandoned" || call == "SyncFolder";
}

TEST(FaultInjection, EveryFailedCallOfAnEditKeepsTheOldFileAndLeavesNothing) {
  const std::string old = Shortcuts(40);
  testutil::TempDir dir;
  const std::string path = dir / "doc.xml";

  // One run without faults gives the calls; short transfers make several
  // reads and writes of them.
  WriteFile(path, old);
  FaultEnv clean;
  clean.LimitTransfers(512);
  ASSERT_TRUE(Edit(clean, path).ok());
  const std::string edited = ReadFile(path);
  const std::vector<std::string> calls = clean.calls();
  for (const char* expected :
       {"OpenForReading", "Read", "ResolveLinks", "Inspect", "CreateTemporary", "KeepOwner",
        "KeepAttributes", "Write", "Sync", "Link", "Close", "Replace", "SyncFolder"}) {
    EXPECT_NE(std::find(calls.begin(), calls.end(), expected), calls.end()) << expected;
  }
  ASSERT_GT(std::count(calls.begin(), calls.end(), "Write"), 3);

  for (int i = 0; i < static_cast<int>(calls.size()); ++i) {
    WriteFile(path, old);
    FaultEnv env;
    env.LimitTransfers(512);
    env.FailCall(i, Status(Reason::kWriteFailed, "No space left on device"));
    const Status status = Edit(env, path);
    const bool succeeds = Tolerated(calls[i]);
    SCOPED_TRACE("call " + std::to_string(i) + " " + calls[i]);
    EXPECT_EQ(status.ok(), succeeds) << status.ToString();
    EXPECT_EQ(ReadFile(path), succeeds ? edited : old);
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"doc.xml"});
    if (!succeeds) {
      EXPECT_EQ(status.detail(), "No space left on device");
    }
  }
}

TEST(FaultInjection, EveryFailedCallOfANewFileCreatesNothing) {
  testutil::TempDir dir;
  WriteFile(dir / "source.xml", Shortcuts(30));
  const auto write = [&](FaultEnv& env) {
    Document doc(env);
    doc.Load((dir / "source.xml").c_str());
    return doc.Save((dir / "new.xml").c_str());
  };
  FaultEnv clean;
  clean.LimitTransfers(1000);
  ASSERT_TRUE(write(clean).ok());
  std::filesystem::remove(dir / "new.xml");
  for (int i = 0; i < static_cast<int>(clean.calls().size()); ++i) {
    FaultEnv env;
    env.LimitTransfers(1000);
    env.FailCall(i, Status(Reason::kSyncFailed, "Input/output error"));
    const Status status = write(env);
    SCOPED_TRACE("call " + std::to_string(i) + " " + clean.calls()[i]);
    EXPECT_EQ(status.ok(), Tolerated(clean.calls()[i]));
    const std::set<std::string> left = Entries(dir.path());
    EXPECT_EQ(left.count("new.xml"), status.ok() ? 1u : 0u);
    EXPECT_EQ(left.size(), status.ok() ? 2u : 1u);
    std::filesystem::remove(dir / "new.xml");
  }
}

// A file layer whose one file says it has `size` bytes and yields 'x' for
// ever, counting what was read from it.
class EndlessEnv : public FaultEnv {
 public:
  explicit EndlessEnv(std::uint64_t size) : size_(size) {}
  std::uint64_t bytesRead = 0;

  Status OpenForReading(const std::string&, std::unique_ptr<talvoro::ReadableFile>* file,
                        std::uint64_t* size) override {
    *size = size_;
    file->reset(new Endless(*this));
    return Status::Ok();
  }

 private:
  class Endless : public talvoro::ReadableFile {
   public:
    explicit Endless(EndlessEnv& env) : env_(env) {}
    Status Read(char* buffer, std::size_t capacity, std::size_t* got) override {
      std::fill(buffer, buffer + capacity, 'x');
      if (env_.bytesRead == 0) buffer[0] = '<';
      env_.bytesRead += capacity;
      *got = capacity;
      return Status::Ok();
    }

   private:
    EndlessEnv& env_;
  };
  std::uint64_t size_;
};

TEST(BoundedReading, AFileIsRefusedFromItsSizeOrOnceItPassesTheLimit) {
  // A size past the limit (a sparse file, say) is refused before any read.
  for (const std::uint64_t size : {talvoro::kMaxDocumentBytes + 1, std::uint64_t{1} << 40}) {
    EndlessEnv env(size);
    Document doc(env);
    const Document::Loaded loaded = doc.Load("any");
    EXPECT_EQ(loaded.root, nullptr);
    EXPECT_EQ(loaded.status.code(), Reason::kTooLarge);
    EXPECT_EQ(env.bytesRead, 0u);
  }
  // A file that says nothing of its size (a pseudo-file) or keeps growing is
  // read only up to the limit.
  for (const std::uint64_t size : {std::uint64_t{0}, std::uint64_t{100}}) {
    EndlessEnv env(size);
    Document doc(env);
    const Document::Loaded loaded = doc.Load("any");
    EXPECT_EQ(loaded.root, nullptr);
    EXPECT_EQ(loaded.status.code(), Reason::kTooLarge);
    EXPECT_GT(env.bytesRead, talvoro::kMaxDocumentBytes);
    EXPECT_LE(env.bytesRead, talvoro::kMaxDocumentBytes + 1);
  }
}

TEST(BoundedReading, TheLimitItselfIsReadAndTheTextEndsAtItsFirstZeroByte) {
  testutil::TempDir dir;
  // Exactly at the limit, 64 MiB: read and parsed. One byte more: refused.
  const std::size_t limit = std::size_t{64} << 20;
  std::string xml = "<items><item file=\"a\"/>";
  xml.append(limit - xml.size() - 8, ' ');
  xml += "</items>";
  ASSERT_EQ(xml.size(), limit);
  WriteFile(dir / "limit.xml", xml);
  Document atLimit;
  const Document::Loaded read = atLimit.Load((dir / "limit.xml").c_str());
  EXPECT_NE(read.root, nullptr) << read.status.ToString();
  WriteFile(dir / "over.xml", xml + " ");
  Document over;
  const Document::Loaded refused = over.Load((dir / "over.xml").c_str());
  EXPECT_EQ(refused.root, nullptr);
  EXPECT_EQ(refused.status.code(), Reason::kTooLarge);

  // Whatever follows a zero byte is neither read nor looked at.
  WriteFile(dir / "zero.xml", std::string("<a/>\0<b", 7) + std::string(1 << 20, '<'));
  FaultEnv sixteen;
  sixteen.LimitTransfers(16);
  Document zero(sixteen);
  const Document::Loaded upToZero = zero.Load((dir / "zero.xml").c_str());
  EXPECT_NE(upToZero.root, nullptr) << upToZero.status.ToString();
  EXPECT_EQ(std::count(sixteen.calls().begin(), sixteen.calls().end(), "Read"), 1);
  WriteFile(dir / "leading-zero.xml", std::string("\0<a/>", 5));
  Document empty;
  EXPECT_EQ(empty.Load((dir / "leading-zero.xml").c_str()).status.code(), Reason::kEmpty);
}

// In UTF-8 TinyXML steps over a lead byte's whole sequence, whatever follows.
// A lead byte among the last bytes of the text takes it past the end: there
// it finds zero bytes, whatever the buffer held (here, what would close the
// document), and the verdict is TinyXML's own.
TEST(BoundedReading, ALeadByteAtTheEndReadsNothingPastTheText) {
  testutil::TempDir dir;
  FaultEnv scribbling;
  scribbling.ScribbleAfterReads(std::string("x\"x\"/></items>") + std::string(16, '\0'));
  for (const char* lead : {"\xC3", "\xE4", "\xE4\xB8", "\xF0", "\xF0\x9F\x98"}) {
    for (const std::string& start :
         {std::string("\xEF\xBB\xBF<items/>"), std::string("\xEF\xBB\xBF<items><item file=\""),
          std::string("\xEF\xBB\xBF<items>text "), std::string("<?xml encoding=\"UTF8\"?><a>"),
          std::string("\xEF\xBB\xBF<items><!-- ")}) {
      std::string text = start + lead;
      text.insert(start.size() - (start.back() == '>' ? 0 : 1), 32 - text.size(), ' ');
      ASSERT_EQ(text.size(), 32u);
      const std::string path = dir / "lead.xml";
      WriteFile(path, text);
      TiXmlDocument tinyxml;
      const bool expected = tinyxml.LoadFile(path.c_str()) && tinyxml.FirstChildElement();
      Document doc(scribbling);
      EXPECT_EQ(doc.Load(path.c_str()).root != nullptr, expected) << text;
    }
  }
}

}  // namespace

namespace {

TEST(TemporaryNames, AreHiddenHexNamesAndNothingElseCounts) {
  EXPECT_EQ(talvoro::TemporaryName(0), ".talvoro-0000000000000000.tmp");
  EXPECT_EQ(talvoro::TemporaryName(0x0123456789ABCDEFu), ".talvoro-0123456789abcdef.tmp");
  EXPECT_EQ(talvoro::TemporaryName(UINT64_MAX), ".talvoro-ffffffffffffffff.tmp");
  struct Case {
    const char* name;
    bool temporary;
  } cases[] = {{".talvoro-ffffffffffffffff.tmp", true},   {".talvoro-0a1b2c3d4e5f6789.tmp", true},
               {".talvoro-0123456789abcdef.tmpx", false}, {".talvoro-0123456789abcdef0.tmp", false},
               {".talvoro-0123456789abcde.tmp", false},   {".talvoro-0123456789ABCDEF.tmp", false},
               {".talvoro-0123456789abcdeg.tmp", false},  {"talvoro-0123456789abcdef.tmp", false},
               {".talvoro-0123456789abcdef.xml", false}};
  for (const Case& c : cases)
    EXPECT_EQ(talvoro::IsTemporaryName(c.name), c.temporary) << c.name;
}

TEST(StatusText, NamesTheReasonAndWhatTheSystemSaid) {
  EXPECT_EQ(Status(Reason::kMissing).ToString(), "missing");
  EXPECT_EQ(Status(Reason::kUnreadable, "Permission denied").ToString(),
            "unreadable: Permission denied");
  EXPECT_EQ(Status(Reason::kSyncFailed, "Input/output error").ToString(),
            "failed sync: Input/output error");
}

}  // namespace

// The C interface against the exported class: the same records, byte for
// byte, in the order the class appends them, on every example and every
// document of the fuzz corpus; the host's "stop"; the sized structs; the
// writers and the diagnosis.
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "c_calls.h"
#include "document_calls.h"
#include "talvoro/c.h"
#include "talvoro/diagnose.h"
#include "talvoro/talvoro.h"
#include "temp_dir.h"
#include "test_util.h"

namespace {

using testutil::CReader;
using testutil::CReaders;
using testutil::Event;
using testutil::Recorder;
using testutil::Shape;

// Every file a reader is tried on: its example and its fuzz corpus.
std::vector<std::string> Documents(const char* name) {
  std::vector<std::string> paths;
  const testutil::DocumentCall* call = testutil::FindCall(name);
  paths.push_back(std::string(TALVORO_EXAMPLES_DIR "/") + call->example);
  const std::filesystem::path corpus = std::filesystem::path(TALVORO_FUZZ_DIR) / "corpus" / name;
  for (const auto& entry : std::filesystem::directory_iterator(corpus))
    paths.push_back(entry.path().string());
  return paths;
}

TEST(CInterface, ReadsWhatTheExportedClassReadsByteForByte) {
  for (const CReader& reader : CReaders()) {
    SCOPED_TRACE(reader.name);
    const testutil::DocumentCall* call = testutil::FindCall(reader.name);
    ASSERT_TRUE(call);
    int read = 0;
    for (const std::string& path : Documents(reader.name)) {
      const testutil::CallOutcome expected = call->run(path, "");
      Recorder recorder;
      const talvoro_sink sink = recorder.Sink();
      talvoro_outcome outcome{};
      outcome.size = sizeof outcome;
      const talvoro_reason reason = reader.read(path.c_str(), &sink, &outcome);
      EXPECT_EQ(reason == TALVORO_REASON_OK, expected.result) << path;
      EXPECT_EQ(outcome.reason, reason);
      EXPECT_EQ(testutil::AsCallBytes(reader, reason == TALVORO_REASON_OK, recorder.events),
                expected.bytes)
          << path;
      // Each reserve comes before its array's first record and tells its count.
      for (std::size_t i = 0; i < recorder.events.size(); ++i) {
        if (recorder.events[i].what != 'n') continue;
        std::size_t count = 0, before = 0;
        for (std::size_t j = 0; j < recorder.events.size(); ++j) {
          if (recorder.events[j].what != 'r' ||
              recorder.events[j].array != recorder.events[i].array)
            continue;
          ++count;
          before += j < i;
        }
        EXPECT_EQ(recorder.events[i].bytes, std::to_string(count)) << path;
        EXPECT_EQ(before, 0u) << path;
      }
      read += reason == TALVORO_REASON_OK;
    }
    EXPECT_GT(read, 0);
  }
}

// A record comes after the records of its children, as the class appends
// them: servers, then their kind, then the type; sub-parts, then the part.
TEST(CInterface, RecordsComeInTheOrderTheClassAppendsThem) {
  Recorder recorder;
  const talvoro_sink sink = recorder.Sink();
  ASSERT_EQ(talvoro_get_service_data(TALVORO_EXAMPLES_DIR "/services.xml", &sink, nullptr),
            TALVORO_REASON_OK);
  std::string order;
  for (const Event& e : recorder.events)
    order += e.what == 'n' ? 'n' : "tks"[e.array - TALVORO_SERVICE_TYPES];
  // The example: a type with a kind of two servers and a kind of none; a
  // type with a kind of three servers; a type with no kind.
  EXPECT_EQ(order,
            "nnn"
            "ss"
            "k"
            "k"
            "t"
            "sss"
            "k"
            "t"
            "t");
}

TEST(CInterface, AHostStopsTheReadAndKeepsWhatCameBefore) {
  Recorder all;
  const talvoro_sink sink = all.Sink();
  ASSERT_EQ(talvoro_get_service_data(TALVORO_EXAMPLES_DIR "/services.xml", &sink, nullptr),
            TALVORO_REASON_OK);
  const std::size_t records = all.Delivered();
  ASSERT_GT(records, 3u);
  for (std::size_t stop = 1; stop <= records; ++stop) {
    Recorder some;
    some.stopAfter = stop;
    const talvoro_sink stopping = some.Sink();
    talvoro_outcome outcome{};
    outcome.size = sizeof outcome;
    const talvoro_reason reason =
        talvoro_get_service_data(TALVORO_EXAMPLES_DIR "/services.xml", &stopping, &outcome);
    EXPECT_EQ(reason, TALVORO_REASON_STOPPED);
    EXPECT_STREQ(talvoro_reason_text(outcome.reason), "stopped by the host");
    ASSERT_EQ(some.Delivered(), stop);
    for (std::size_t i = 0; i < some.events.size(); ++i)
      EXPECT_EQ(some.events[i].bytes, all.events[i].bytes);
  }
  // Texts stop too.
  Recorder version;
  version.stopAfter = 1;
  const talvoro_sink stopping = version.Sink();
  EXPECT_EQ(talvoro_get_version(TALVORO_EXAMPLES_DIR "/version.xml", &stopping, nullptr),
            TALVORO_REASON_STOPPED);
  EXPECT_EQ(version.Delivered(), 1u);
}

// A host built against a smaller struct: the library touches nothing past
// its size.
TEST(CInterface, SizedStructsGrowWithoutBreakingOlderHosts) {
  talvoro_outcome outcome;
  std::memset(&outcome, 0x5A, sizeof outcome);
  outcome.size = offsetof(talvoro_outcome, detail);
  EXPECT_EQ(talvoro_get_part_data(TALVORO_EXAMPLES_DIR "/none.xml", nullptr, &outcome),
            TALVORO_REASON_MISSING);
  EXPECT_EQ(outcome.reason, TALVORO_REASON_MISSING);
  EXPECT_EQ(outcome.detail[0], 0x5A);

  // A sink that ends before a callback gets nothing through it, and all the
  // rest: what reaches it, as a letter each, of a list of records and a list
  // of texts.
  const std::pair<std::size_t, const char*> sinks[] = {
      {offsetof(talvoro_sink, reserve), "|"},
      {offsetof(talvoro_sink, record), "n|"},
      {offsetof(talvoro_sink, text), "nrrrr|"},
      {sizeof(talvoro_sink), "nrrrr|tt"},
  };
  for (const auto& [size, expected] : sinks) {
    std::string got;
    for (auto [read, name] : {std::pair{&talvoro_get_shortcut_info, "/shortcuts.xml"},
                              std::pair{&talvoro_get_version, "/version.xml"}}) {
      Recorder recorder;
      talvoro_sink sink = recorder.Sink();
      sink.size = size;
      EXPECT_EQ(read((TALVORO_EXAMPLES_DIR + std::string(name)).c_str(), &sink, nullptr),
                TALVORO_REASON_OK);
      for (const Event& e : recorder.events)
        got += e.what;
      got += name[1] == 's' ? "|" : "";
    }
    EXPECT_EQ(got, expected) << "a sink of " << size << " bytes";
  }
  EXPECT_EQ(talvoro_get_service_data(TALVORO_EXAMPLES_DIR "/services.xml", nullptr, nullptr),
            TALVORO_REASON_OK);
  EXPECT_EQ(talvoro_interface_version(), TALVORO_C_INTERFACE_VERSION);
}

TEST(CInterface, WritersWriteWhatTheClassWrites) {
  testutil::TempDir dir;
  tagShortCutInfo shortcuts[3] = {};
  std::strcpy(shortcuts[0].file, "a.exe");
  std::strcpy(shortcuts[1].file, "b & c.exe");
  std::strcpy(shortcuts[2].file, "d.exe");
  talvoro_outcome outcome{};
  outcome.size = sizeof outcome;
  const std::string c = dir / "c.xml", cpp = dir / "cpp.xml";
  ASSERT_EQ(talvoro_write_shortcut_info(c.c_str(), shortcuts, 3, &outcome), TALVORO_REASON_OK);
  EXPECT_EQ(outcome.changed, 3);
  CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> array;
  for (const tagShortCutInfo& s : shortcuts)
    array.Add(s);
  ASSERT_TRUE(CTinyXmlHelper::WrittingShutCutInfo(cpp.c_str(), array));
  EXPECT_EQ(testutil::ReadFile(c), testutil::ReadFile(cpp));

  ASSERT_EQ(talvoro_delete_shortcut_info(c.c_str(), &shortcuts[1], &outcome), TALVORO_REASON_OK);
  EXPECT_EQ(outcome.changed, 1);
  ASSERT_TRUE(CTinyXmlHelper::DeleteShutCutInfo(cpp.c_str(), shortcuts[1]));
  EXPECT_EQ(testutil::ReadFile(c), testutil::ReadFile(cpp));

  tagUpdateData updates[2] = {};
  std::strcpy(updates[0].file, "x.zip");
  std::strcpy(updates[0].check, "5d41");
  CList<tagUpdateData, const tagUpdateData&> list;
  list.AddTail(updates[0]);
  list.AddTail(updates[1]);
  ASSERT_EQ(talvoro_write_update_file(c.c_str(), updates, 2, &outcome), TALVORO_REASON_OK);
  ASSERT_TRUE(CTinyXmlHelper::WrittingUpdateFile(cpp.c_str(), list));
  EXPECT_EQ(testutil::ReadFile(c), testutil::ReadFile(cpp));

  testutil::WriteFile(c, "<s><g><c id=\"3\"/><c id=\"65539\"/></g></s>");
  testutil::WriteFile(cpp, "<s><g><c id=\"3\"/><c id=\"65539\"/></g></s>");
  tagSoftData soft = {};
  soft.id = 3;
  soft.version = 9;
  ASSERT_EQ(talvoro_set_soft_version(&soft, c.c_str(), &outcome), TALVORO_REASON_OK);
  EXPECT_EQ(outcome.changed, 2);
  ASSERT_TRUE(CTinyXmlHelper::SetSoftVersion(soft, cpp.c_str()));
  EXPECT_EQ(testutil::ReadFile(c), testutil::ReadFile(cpp));

  // Failures are reasons, with the old file kept.
  EXPECT_EQ(talvoro_write_shortcut_info((dir / "no/x.xml").c_str(), shortcuts, 1, &outcome),
            TALVORO_REASON_FOLDER_MISSING);
  EXPECT_EQ(outcome.changed, 0);
  for (talvoro_reason reason : {talvoro_write_shortcut_info(c.c_str(), nullptr, 1, &outcome),
                                talvoro_write_update_file(c.c_str(), updates, -1, &outcome),
                                talvoro_set_soft_version(nullptr, c.c_str(), &outcome),
                                talvoro_delete_shortcut_info(c.c_str(), nullptr, &outcome)})
    EXPECT_EQ(reason, TALVORO_REASON_INVALID_ARGUMENT);
  EXPECT_EQ(testutil::ReadFile(c), testutil::ReadFile(cpp));
  // No records and a count of 0, null or not, are an empty list.
  CList<tagUpdateData, const tagUpdateData&> noUpdates;
  CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> noShortcuts;
  const tagUpdateData* const nones[] = {nullptr, updates};
  for (const tagUpdateData* none : nones) {
    ASSERT_EQ(talvoro_write_update_file(c.c_str(), none, 0, &outcome), TALVORO_REASON_OK);
    ASSERT_TRUE(CTinyXmlHelper::WrittingUpdateFile(cpp.c_str(), noUpdates));
    EXPECT_EQ(testutil::ReadFile(c), testutil::ReadFile(cpp));
  }
  ASSERT_EQ(talvoro_write_shortcut_info(c.c_str(), nullptr, 0, &outcome), TALVORO_REASON_OK);
  ASSERT_TRUE(CTinyXmlHelper::WrittingShutCutInfo(cpp.c_str(), noShortcuts));
  EXPECT_EQ(testutil::ReadFile(c), testutil::ReadFile(cpp));
  EXPECT_EQ(talvoro_is_file_exist((dir / "*.xml").c_str()), 1);
  EXPECT_EQ(talvoro_is_file_exist((dir / "*.none").c_str()), 0);
}

// A finding of either interface as one line of all its members.
template <typename F>
void Note(const F* f, void* context) {
  static_cast<std::vector<std::string>*>(context)->push_back(
      std::to_string(static_cast<int>(f->kind)) + " " + std::to_string(f->line) + ":" +
      std::to_string(f->column) + " <" + f->element + "> " + f->attribute + " [" + f->written +
      "] [" + f->stored + "] " + std::to_string(f->width) + "/" + std::to_string(f->lost));
}

TEST(CInterface, TheDiagnosisAsTheCppOneGivesIt) {
  const std::string path = TALVORO_EXAMPLES_DIR "/faults/services.xml";
  std::vector<std::string> c, cpp;
  talvoro_outcome outcome{};
  outcome.size = sizeof outcome;
  EXPECT_EQ(talvoro_diagnose(TALVORO_DOCUMENT_SERVICES, path.c_str(), &outcome,
                             &Note<talvoro_finding>, &c),
            TALVORO_REASON_OK);
  talvoro::Diagnose(talvoro::DocumentKind::kServices, path.c_str(), nullptr,
                    &Note<talvoro::Finding>, &cpp);
  // The first finding, whole: its width and lost bytes are not one another's.
  ASSERT_FALSE(c.empty());
  EXPECT_EQ(c[0],
            "0 5:5 <type> typeName [Market data feeds for the Asian sessions] [Market "
            "data feeds for the Asian] 32/9");
  EXPECT_EQ(c, cpp);
  EXPECT_EQ(talvoro_diagnose(TALVORO_DOCUMENT_PARTS, TALVORO_EXAMPLES_DIR "/faults/parts.xml",
                             &outcome, nullptr, nullptr),
            TALVORO_REASON_MALFORMED);
  EXPECT_EQ(outcome.line, 9);
  EXPECT_EQ(outcome.column, 7);
  EXPECT_STREQ(outcome.detail, "Error reading end tag.");
  // Each reason knows its family; a value that names none has none.
  const std::pair<int, talvoro_family> families[] = {
      {TALVORO_REASON_OK, TALVORO_FAMILY_NONE},
      {TALVORO_REASON_MISSING, TALVORO_FAMILY_READING},
      {TALVORO_REASON_NO_MEMORY, TALVORO_FAMILY_READING},
      {TALVORO_REASON_TOO_LARGE_TO_PARSE, TALVORO_FAMILY_READING},
      {TALVORO_REASON_WIDE_TEXT, TALVORO_FAMILY_READING},
      {TALVORO_REASON_FOLDER_MISSING, TALVORO_FAMILY_SAVING},
      {TALVORO_REASON_NOT_READ_BACK, TALVORO_FAMILY_SAVING},
      {TALVORO_REASON_STOPPED, TALVORO_FAMILY_HOST},
      {TALVORO_REASON_INVALID_ARGUMENT, TALVORO_FAMILY_ARGUMENT},
      {TALVORO_REASON_END_, TALVORO_FAMILY_NONE},
      {-1, TALVORO_FAMILY_NONE},
  };
  for (const auto& [reason, family] : families)
    EXPECT_EQ(talvoro_reason_family(reason), family) << talvoro_reason_text(reason);
  // The C names and the C++ ones are one list.
  EXPECT_EQ(static_cast<int>(talvoro::Reason::kNotReadBack), TALVORO_REASON_NOT_READ_BACK);
  EXPECT_EQ(static_cast<int>(talvoro::FindingKind::kNotText), TALVORO_FINDING_NOT_TEXT);
  EXPECT_STREQ(talvoro_finding_text(TALVORO_FINDING_TEXT_CUT), "text cut");
}

}  // namespace

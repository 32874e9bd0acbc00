// The diagnosis: the reason each refusal carries, with its place; every kind
// of finding, from the readers' own code; the verdict always the reader's;
// and the writers that say why they failed.
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "document_calls.h"
#include "talvoro/diagnose.h"
#include "talvoro/talvoro.h"
#include "test_util.h"
#include "xml/encoding.h"

namespace {

using talvoro::DocumentKind;
using talvoro::FindingKind;
using talvoro::Reason;
using testutil::WriteFile;

// Each kind with the reader it diagnoses, by its name in the call table, from
// the table of documents.
std::vector<std::pair<DocumentKind, const char*>> Readers() {
  std::vector<std::pair<DocumentKind, const char*>> readers;
  for (int i = 0; const talvoro::DocumentType* type = talvoro::DocumentTypeAt(i); ++i)
    readers.emplace_back(type->kind, type->reader);
  return readers;
}

struct Found {
  FindingKind kind;
  int line;
  std::string attribute, written, stored;
  bool operator==(const Found& o) const {
    return std::tie(kind, line, attribute, written, stored) ==
           std::tie(o.kind, o.line, o.attribute, o.written, o.stored);
  }
};
std::ostream& operator<<(std::ostream& out, const Found& f) {
  return out << talvoro::FindingText(f.kind) << " line " << f.line << " '" << f.attribute << "' '"
             << f.written << "' -> '" << f.stored << "'";
}

struct Diagnosis {
  Reason reason;
  talvoro::Outcome outcome;
  std::vector<Found> findings;
};

Diagnosis Diagnose(DocumentKind kind, const std::string& path) {
  Diagnosis d{};
  d.reason = talvoro::Diagnose(
      kind, path.c_str(), &d.outcome,
      [](const talvoro::Finding* f, void* context) {
        static_cast<std::vector<Found>*>(context)->push_back(
            {f->kind, f->line, f->attribute, f->written, f->stored});
      },
      &d.findings);
  return d;
}

// The table of documents: every kind once, in the order of DocumentKind, each
// with a word of its own and an example that its reader reads; nothing past
// the last.
TEST(DocumentTypes, NameEveryKindOnceInOrderWithAnExampleItsReaderReads) {
  std::set<std::string> words;
  int count = 0;
  for (; const talvoro::DocumentType* type = talvoro::DocumentTypeAt(count); ++count) {
    EXPECT_EQ(static_cast<int>(type->kind), count);
    EXPECT_TRUE(words.insert(type->word).second) << type->word;
    EXPECT_TRUE(testutil::FindCall(type->reader)) << type->reader;
    const std::string example = std::string(TALVORO_EXAMPLES_DIR "/") + type->example;
    EXPECT_EQ(Diagnose(type->kind, example).reason, Reason::kOk) << example;
  }
  EXPECT_EQ(count, 10);
  EXPECT_EQ(talvoro::DocumentTypeAt(-1), nullptr);
  EXPECT_EQ(talvoro::Diagnose(static_cast<DocumentKind>(count), TALVORO_EXAMPLES_DIR "/parts.xml",
                              nullptr, nullptr, nullptr),
            Reason::kInvalidArgument);
}

TEST(Diagnose, EveryRefusalSaysWhyAndWhere) {
  testutil::TempDir dir;
  std::string deep;
  for (int i = 0; i < 300; ++i)
    deep += "<a>\n";
  std::string crowded = "<r>\n<e";
  for (int i = 0; i < 300; ++i)
    crowded += " a" + std::to_string(i) + "=\"\"";
  crowded += "/></r>";
  struct Case {
    const char* name;
    std::string text;
    Reason reason;
    int line, column;
    DocumentKind kind = DocumentKind::kShortcuts;
  };
  const Case cases[] = {
      {"empty", "", Reason::kEmpty, 0, 0},
      {"blank", " \n\t\n", Reason::kEmpty, 0, 0},
      {"comment only", "<?xml version=\"1.0\"?>\n<!-- none -->\n", Reason::kNoElement, 0, 0},
      {"unclosed", "<items>\n  <item file=\"a\">\n</items>\n", Reason::kMalformed, 3, 7},
      {"deep", deep, Reason::kTooDeep, 257, 1},
      {"crowded", crowded, Reason::kTooManyAttributes, 2, 1},
      {"no weather", "<report><current/></report>", Reason::kNoWeather, 0, 0,
       DocumentKind::kWeather},
  };
  for (const Case& c : cases) {
    WriteFile(dir / "doc.xml", c.text);
    const Diagnosis d = Diagnose(c.kind, dir / "doc.xml");
    EXPECT_EQ(d.reason, c.reason) << c.name << ": " << talvoro::ReasonText(d.reason);
    EXPECT_EQ(d.outcome.reason, c.reason) << c.name;
    EXPECT_EQ(d.outcome.line, c.line) << c.name;
    EXPECT_EQ(d.outcome.column, c.column) << c.name;
    EXPECT_TRUE(d.findings.empty()) << c.name;
  }
  const Diagnosis malformed = Diagnose(DocumentKind::kShortcuts, dir / "missing.xml");
  EXPECT_EQ(malformed.reason, Reason::kMissing);
  EXPECT_EQ(Diagnose(DocumentKind::kShortcuts, dir.path()).reason, Reason::kNotRegular);
  WriteFile(dir / "huge.xml", "<items/>");
  std::filesystem::resize_file(dir / "huge.xml", (64u << 20) + 1);
  const Diagnosis huge = Diagnose(DocumentKind::kShortcuts, dir / "huge.xml");
  EXPECT_EQ(huge.reason, Reason::kTooLarge);
  EXPECT_NE(std::string(huge.outcome.detail).find("67108865 bytes"), std::string::npos);
  WriteFile(dir / "doc.xml", "<a>\n<b></c>\n</a>");
  EXPECT_STREQ(Diagnose(DocumentKind::kParts, dir / "doc.xml").outcome.detail,
               "Error reading end tag.");
}

TEST(Diagnose, ReportsWhatEachReaderChangesSilently) {
  testutil::TempDir dir;
  const std::string cut40 = "Market data feeds for the Asian sessions";
  struct Case {
    DocumentKind kind;
    std::string text;
    std::vector<Found> expected;
  };
  const Case cases[] = {
      {DocumentKind::kServices,
       "<s>\n<t id=\"70000\" depend=\"-1\" typeName=\"" + cut40 +
           "\">\n"
           "<k id=\"12abc\" version=\"70000\" unzipdir=\"x\" depend=\"\">\n"
           "<v id=\"99999999999\"><deep/></v>\n</k>\n</t>\n</s>",
       {{FindingKind::kNarrowed, 2, "id", "70000", "4464"},
        {FindingKind::kTextCut, 2, "typeName", cut40, cut40.substr(0, 31)},
        {FindingKind::kTrailingText, 3, "id", "12abc", "12"},
        {FindingKind::kNotANumber, 3, "depend", "", "0"},
        {FindingKind::kNarrowed, 3, "version", "70000", "4464"},
        {FindingKind::kNameCase, 3, "UnzipDir", "unzipdir", ""},
        {FindingKind::kSaturated, 4, "id", "99999999999", "-1"},
        {FindingKind::kPassedOver, 4, "", "below the last level read", ""}}},
      // A version is stored as its low 16 bits, zero-extended: 65535 fits, -1 does not.
      {DocumentKind::kServices,
       "<s>\n<t id=\"1\" depend=\"0\">\n<k id=\"2\" depend=\"0\" version=\"65535\"/>\n"
       "<k id=\"3\" depend=\"0\" version=\"-1\"/>\n</t>\n</s>",
       {{FindingKind::kNarrowed, 4, "version", "-1", "65535"}}},
      {DocumentKind::kParts,
       "<p>\n<part Name=\"a\"><sub id=\"-99999999999\"/></part>\n</p>",
       {{FindingKind::kNumberAbsent, 2, "id", "", "0"},
        {FindingKind::kSaturated, 2, "id", "-99999999999", "-2147483648"},
        {FindingKind::kNumberAbsent, 2, "target", "", "0"}}},
      {DocumentKind::kZones,
       "<z>\n<Zone><ID>1x</ID></Zone>\n<Area><ID>1</ID><Z>2</Z><N>n</N><E/><F/></Area>\n</z>",
       {{FindingKind::kEntryMissing, 2, "zone name", "", ""},
        {FindingKind::kTrailingText, 2, "zone number", "1x", "1"},
        {FindingKind::kNumberAbsent, 3, "extra number", "", "0"},
        {FindingKind::kPassedOver, 3, "", "past the values of its item", ""}}},
      {DocumentKind::kWeather,
       "<x>\n<weather>\n<current_conditions><temp_f Data=\"12345678901\"/></current_conditions>\n"
       "<forecast_conditions/>\n</weather>\n</x>",
       {{FindingKind::kEntryMissing, 2, "forecast_conditions", "", ""},
        {FindingKind::kEntryMissing, 2, "forecast_conditions", "", ""},
        {FindingKind::kEntryMissing, 2, "forecast_conditions", "", ""},
        {FindingKind::kEntryMissing, 3, "temp_c", "", ""},
        {FindingKind::kEntryMissing, 3, "humidity", "", ""},
        {FindingKind::kEntryMissing, 3, "wind_condition", "", ""},
        {FindingKind::kTextCut, 3, "Data", "12345678901", "123456789"},
        {FindingKind::kEntryMissing, 4, "day_of_week", "", ""},
        {FindingKind::kEntryMissing, 4, "low", "", ""},
        {FindingKind::kEntryMissing, 4, "high", "", ""},
        {FindingKind::kEntryMissing, 4, "icon", "", ""},
        {FindingKind::kEntryMissing, 4, "condition", "", ""}}},
      {DocumentKind::kServerServices,
       "<s>\n<x id=\"1\" run=\"yes\" serviceName=\"a\" sink=\"b\"/>\n</s>",
       {{FindingKind::kNotANumber, 2, "run", "yes", "0"}}},
      {DocumentKind::kVersion,
       "<v version=\"1\" updateTime=\"now\">\n<child/>\n</v>",
       {{FindingKind::kNameCase, 1, "updatetime", "updateTime", ""},
        {FindingKind::kPassedOver, 2, "", "below the last level read", ""}}},
      {DocumentKind::kShortcuts,
       "<items>\n<item file=\"a\"/>\n<Item file=\"b\"/>\n<item><sub/></item>\n</items>",
       {{FindingKind::kPassedOver, 3, "", "not read: only elements of its name are", ""},
        {FindingKind::kPassedOver, 4, "", "below the last level read", ""}}},
      // Lines end in CR LF; on one line, findings come from left to right.
      {DocumentKind::kShortcuts,
       "<items>\r\n<Item/><item><sub/></item>\r\n</items>",
       {{FindingKind::kPassedOver, 2, "", "not read: only elements of its name are", ""},
        {FindingKind::kPassedOver, 2, "", "below the last level read", ""}}},
      // A text of the field's width is cut by one byte, one byte less is kept;
      // a name that only begins like the expected one is another name.
      {DocumentKind::kShortcuts,
       "<items>\n<item file=\"" + std::string(260, 'w') + "\"/>\n<item file=\"" +
           std::string(259, 'k') + "\"/>\n<item fil=\"x\" FILE=\"y\"/>\n</items>",
       {{FindingKind::kTextCut, 2, "file", std::string(260, 'w'), std::string(259, 'w')},
        {FindingKind::kNameCase, 4, "file", "FILE", ""}}},
      // An absent number spelt in another case is that, not also absent.
      {DocumentKind::kParts,
       "<p>\n<part ID=\"5\" Name=\"a\"/>\n</p>",
       {{FindingKind::kNameCase, 2, "id", "ID", ""}}},
  };
  for (const Case& c : cases) {
    WriteFile(dir / "doc.xml", c.text);
    const Diagnosis d = Diagnose(c.kind, dir / "doc.xml");
    EXPECT_EQ(d.reason, Reason::kOk) << c.text;
    EXPECT_EQ(d.outcome.changed, 0) << c.text;
    EXPECT_EQ(d.findings, c.expected) << c.text;
  }
}

// Whatever the document, the diagnosis refuses exactly what the reader
// refuses: every example, every faulty example, every fuzz corpus input.
TEST(Diagnose, TheVerdictIsAlwaysTheReaders) {
  std::vector<std::string> files;
  for (const char* folder : {TALVORO_EXAMPLES_DIR, TALVORO_EXAMPLES_DIR "/faults"}) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  for (const auto& [kind, name] : Readers()) {
    const testutil::DocumentCall* call = testutil::FindCall(name);
    ASSERT_NE(call, nullptr) << name;
    std::vector<std::string> inputs = files;
    const std::filesystem::path corpus = std::filesystem::path(TALVORO_FUZZ_DIR) / "corpus" / name;
    for (const auto& entry : std::filesystem::directory_iterator(corpus))
      inputs.push_back(entry.path().string());
    ASSERT_GT(inputs.size(), 50u) << name;
    for (const std::string& input : inputs) {
      const bool read = call->run(input, "").result;
      EXPECT_EQ(Diagnose(kind, input).reason == Reason::kOk, read) << name << " " << input;
    }
  }
}

TEST(Diagnose, WritersSayWhatTheyChangedAndWhyTheyFailed) {
  testutil::TempDir dir;
  talvoro::Outcome outcome{};
  tagShortCutInfo shortcuts[3] = {};
  std::strcpy(shortcuts[0].file, "a.exe");
  std::strcpy(shortcuts[1].file, "b.exe");
  std::strcpy(shortcuts[2].file, "a.exe");
  ASSERT_TRUE(talvoro::WriteShortcuts((dir / "s.xml").c_str(), shortcuts, 3, &outcome));
  EXPECT_EQ(outcome.changed, 3);
  ASSERT_TRUE(talvoro::DeleteShortcut((dir / "s.xml").c_str(), shortcuts[0], &outcome));
  EXPECT_EQ(outcome.changed, 1);
  tagShortCutInfo none = {};
  std::strcpy(none.file, "none.exe");
  ASSERT_TRUE(talvoro::DeleteShortcut((dir / "s.xml").c_str(), none, &outcome));
  EXPECT_EQ(outcome.changed, 0);

  WriteFile(dir / "soft.xml", "<s><g><c id=\"3\"/><c id=\"65539\"/><c id=\"4\"/></g></s>");
  tagSoftData soft = {};
  soft.id = 3;
  ASSERT_TRUE(talvoro::SetSoftVersion(soft, (dir / "soft.xml").c_str(), &outcome));
  EXPECT_EQ(outcome.changed, 2);

  tagUpdateData updates[2] = {};
  std::strcpy(updates[1].file, "b.zip");
  ASSERT_TRUE(talvoro::WriteUpdates((dir / "u2.xml").c_str(), updates, 2, &outcome));
  EXPECT_EQ(outcome.changed, 2);

  tagUpdateData update = {};
  std::strcpy(update.file, "a\xE3");  // not UTF-8: the closing quote would be swallowed
  const std::string missing = dir / "missing/u.xml", folder = dir.path(), u = dir / "u.xml";
  std::vector<std::pair<Reason, std::function<bool()>>> failures = {
      {Reason::kFolderMissing,
       [&] { return talvoro::WriteUpdates(missing.c_str(), &update, 0, &outcome); }},
      {Reason::kTargetNotRegular,
       [&] { return talvoro::WriteUpdates(folder.c_str(), &update, 0, &outcome); }},
      {Reason::kMissing, [&] { return talvoro::SetSoftVersion(soft, u.c_str(), &outcome); }},
  };
  // Where the host's own code page holds the text (a Western Windows host's
  // holds every byte), it is saved, declared so.
  talvoro::Env& env = talvoro::Env::Default();
  const std::unique_ptr<talvoro::Charset> host = env.OpenCharset(env.NarrowCharset());
  const bool hostHolds = host && talvoro::IsText(*host, update.file);
  if (!hostHolds) {
    failures.push_back({Reason::kNotReadBack,
                        [&] { return talvoro::WriteUpdates(u.c_str(), &update, 1, &outcome); }});
  }
  for (const auto& [reason, write] : failures) {
    outcome.changed = -1;
    EXPECT_FALSE(write()) << talvoro::ReasonText(reason);
    EXPECT_EQ(outcome.reason, reason) << talvoro::ReasonText(outcome.reason);
    EXPECT_EQ(outcome.changed, 0);
  }
  EXPECT_NE(std::string(talvoro::ReasonText(Reason::kFolderMissing)), "");
  EXPECT_FALSE(std::filesystem::exists(u));
}

}  // namespace

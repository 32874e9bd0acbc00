// Every face tells the same reason at the same place: for each input that a
// document function may refuse, the C readers and writers, the functions of
// namespace talvoro, the C diagnosis, the exported class and the host helper
// (their bool) and, on POSIX systems, the inspector's `check --json` give one
// reason, line, column and detail.
#include <cstdio>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <nlohmann/json.hpp>
#endif

#include "member_call.h"
#include "talvoro/c.h"
#include "talvoro/diagnose.h"
#include "talvoro/host_helper.h"
#include "talvoro/talvoro.h"
#include "test_util.h"

namespace {

// A reason as every face gives it.
struct Said {
  int reason = 0, line = 0, column = 0;
  std::string detail;
  bool operator==(const Said& o) const {
    return std::tie(reason, line, column, detail) == std::tie(o.reason, o.line, o.column, o.detail);
  }
};
std::ostream& operator<<(std::ostream& out, const Said& s) {
  return out << talvoro_reason_text(s.reason) << " " << s.line << ":" << s.column << " '"
             << s.detail << "'";
}
template <typename Outcome>
Said From(const Outcome& o) {
  return {static_cast<int>(o.reason), o.line, o.column, o.detail};
}
talvoro_outcome COutcome() {
  talvoro_outcome outcome{};
  outcome.size = sizeof outcome;
  return outcome;
}

struct Kind {
  talvoro::DocumentKind kind;
  const char* word;
  talvoro_reason(TALVORO_CALL* read)(const char*, const talvoro_sink*, talvoro_outcome*);
  bool (*exported)(const char* path);
  bool (*helper)(const char* path);
};
const Kind kKinds[] = {
#define TALVORO_FACE_ROW(kind, cname, word, name, member, creader, writers, example)               \
  {talvoro::DocumentKind::kind, word, &creader,                                                    \
   [](const char* p) {                                                                             \
     return testutil::MemberCall(&CTinyXmlHelper::member, p)(&CTinyXmlHelper::member);             \
   },                                                                                              \
   [](const char* p) {                                                                             \
     return testutil::MemberCall(&CTinyXmlHelper::member,                                          \
                                 p)([](auto&... s) { return talvoro::HostHelper::member(s...); }); \
   }},
    TALVORO_DOCUMENTS(TALVORO_FACE_ROW)
#undef TALVORO_FACE_ROW
};

#if defined(TALVORO_INSPECTOR) && !defined(_WIN32)
// The inspector's `check KIND FILE --json`: its reason.
Said Checked(const char* word, const char* path) {
  const std::string command =
      std::string(TALVORO_INSPECTOR) + " check " + word + " '" + path + "' --json 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  std::string out;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
    out.append(buffer, got);
  const nlohmann::json json = nlohmann::json::parse(out);
  if (json.at("ok")) return {};
  const nlohmann::json& e = json.at("error");
  int reason = 0;
  while (e.at("reason") != talvoro_reason_text(reason) && reason < TALVORO_REASON_END_)
    ++reason;
  return {reason, e.at("line"), e.at("column"), e.at("detail")};
}
#endif

// Every face's reading of `path` as a document of each kind, compared; and
// the editors' loading of it.
void ExpectFacesAgree(const std::string& what, const char* path) {
  for (const Kind& k : kKinds) {
    SCOPED_TRACE(what + " as " + k.word);
    talvoro_outcome c = COutcome(), diagnosed = COutcome();
    k.read(path, nullptr, &c);
    talvoro::Outcome cpp{};
    talvoro::Diagnose(k.kind, path, &cpp, nullptr, nullptr);
    talvoro_diagnose(static_cast<talvoro_document>(k.kind), path, &diagnosed, nullptr, nullptr);
    EXPECT_EQ(From(c), From(cpp));
    EXPECT_EQ(From(c), From(diagnosed));
    if (!path) continue;
    EXPECT_EQ(k.exported(path), c.reason == TALVORO_REASON_OK);
    EXPECT_EQ(k.helper(path), c.reason == TALVORO_REASON_OK);
#if defined(TALVORO_INSPECTOR) && !defined(_WIN32)
    EXPECT_EQ(Checked(k.word, path), From(c));
#endif
  }
  // The editors load as the readers do: where the software list's reader
  // refuses, so do they, with its words.
  talvoro_outcome read = COutcome(), set = COutcome(), deleted = COutcome();
  talvoro_get_soft_data(path, nullptr, &read);
  if (read.reason == TALVORO_REASON_OK) return;
  const tagSoftData soft = {};
  const tagShortCutInfo shortcut = {};
  talvoro_set_soft_version(&soft, path, &set);
  talvoro_delete_shortcut_info(path, &shortcut, &deleted);
  talvoro::Outcome cpp{};
  talvoro::SetSoftVersion(soft, path, &cpp);
  EXPECT_EQ(From(set), From(read)) << what;
  EXPECT_EQ(From(deleted), From(read)) << what;
  EXPECT_EQ(From(cpp), From(read)) << what;
}

TEST(Faces, EveryReaderFaceGivesOneReasonAtOnePlace) {
  testutil::TempDir dir;
  std::string deep, crowded = "<r><e";
  for (int i = 0; i < 300; ++i) {
    deep += "<a>\n";
    crowded += " a" + std::to_string(i) + "=''";
  }
  const std::string services = testutil::ReadFile(TALVORO_EXAMPLES_DIR "/services.xml");
  const std::pair<const char*, std::string> texts[] = {
      {"a good document", services},
      {"a cut file", services.substr(0, services.size() / 2)},
      {"a 0-byte file", ""},
      {"white space", " \n\t"},
      {"no element", "<?xml version='1.0'?><!-- none -->"},
      {"no weather", "<r><current/></r>"},
      {"an end tag that does not match", "<a>\n  <b></c>\n</a>"},
      {"an unclosed attribute", "<a>\n<b x='1 /></a>"},
      {"an unclosed comment", "<a><!-- x </a>"},
      {"an unclosed CDATA section", "<a>\n<![CDATA[x</a>"},
      {"a broken declaration", "<?xml version='1.0'\n<a/>"},
      {"an element without a name", "<a>\n< ></a>"},
      {"a quote swallowed by a lead byte",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<s>\n<t name=\"\xE8\xA1\x8C\xE6\" "
       "id=\"1\"/>\n</s>"},
      {"too deep", deep},
      {"too many attributes", crowded + "/></r>"},
      {"UTF-16 with a byte-order mark", std::string("\xFF\xFE<\0r\0/\0>\0", 10)},
  };
  for (const auto& [what, text] : texts) {
    testutil::WriteFile(dir / "doc.xml", text);
    ExpectFacesAgree(what, (dir / "doc.xml").c_str());
  }
  ExpectFacesAgree("a missing file", (dir / "missing.xml").c_str());
  ExpectFacesAgree("a directory", dir.path().c_str());
  ExpectFacesAgree("a null path", nullptr);
#if !defined(_WIN32)
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  ExpectFacesAgree("a FIFO", (dir / "fifo").c_str());
#endif
}

// What no call can take is "invalid argument" in every face that can be
// given it, the detail naming the argument; null records with a count of 0
// are an empty list.
TEST(Faces, ArgumentsNoCallCanTakeAreInvalidEverywhere) {
  testutil::TempDir dir;
  const std::string path = dir / "out.xml";
  const tagShortCutInfo shortcut = {};
  const tagUpdateData update = {};
  const tagSoftData soft = {};
  const struct {
    const char* path;
    const void* records;
    int count;
    const char* detail;  // "" where the call succeeds
  } cases[] = {
      {nullptr, &shortcut, 1, "the path is null"},
      {path.c_str(), nullptr, 2, "the records are null, and the count is 2"},
      {path.c_str(), &shortcut, -1, "the count is -1"},
      {nullptr, nullptr, -1, "the path is null"},
      {path.c_str(), nullptr, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.detail);
    const auto shortcuts = static_cast<const tagShortCutInfo*>(c.records);
    const auto updates = c.records ? &update : nullptr;
    talvoro_outcome written = COutcome(), updated = COutcome();
    talvoro::Outcome cpp{}, cppUpdated{};
    talvoro_write_shortcut_info(c.path, shortcuts, c.count, &written);
    talvoro_write_update_file(c.path, updates, c.count, &updated);
    talvoro::WriteShortcuts(c.path, shortcuts, c.count, &cpp);
    talvoro::WriteUpdates(c.path, updates, c.count, &cppUpdated);
    const Said expected{*c.detail ? TALVORO_REASON_INVALID_ARGUMENT : TALVORO_REASON_OK, 0, 0,
                        c.detail};
    for (const Said& said : {From(written), From(updated), From(cpp), From(cppUpdated)})
      EXPECT_EQ(said, expected);
  }
  // A null record, the editors' and the diagnosis's null path, a kind that
  // names none.
  const auto said = [](auto call) {
    talvoro_outcome outcome = COutcome();
    call(&outcome);
    return From(outcome);
  };
  const char* out = path.c_str();
  const std::pair<Said, const char*> refusals[] = {
      {said([&](auto o) { talvoro_set_soft_version(nullptr, out, o); }), "the record is null"},
      {said([&](auto o) { talvoro_delete_shortcut_info(out, nullptr, o); }), "the record is null"},
      {said([&](auto o) { talvoro_set_soft_version(&soft, nullptr, o); }), "the path is null"},
      {said([&](auto o) { talvoro_delete_shortcut_info(nullptr, &shortcut, o); }),
       "the path is null"},
      {said([&](auto o) { talvoro_diagnose(TALVORO_DOCUMENT_END_, out, o, nullptr, nullptr); }),
       "the document kind 10 is not known"},
      {said([&](auto o) {
         talvoro_diagnose(static_cast<talvoro_document>(-1), nullptr, o, nullptr, nullptr);
       }),
       "the document kind -1 is not known"},
  };
  for (const auto& [refused, detail] : refusals)
    EXPECT_EQ(refused, (Said{TALVORO_REASON_INVALID_ARGUMENT, 0, 0, detail}));
  talvoro::Outcome cpp{};
  talvoro::Diagnose(talvoro::DocumentKind::kParts, nullptr, &cpp, nullptr, nullptr);
  EXPECT_EQ(From(cpp), (Said{TALVORO_REASON_INVALID_ARGUMENT, 0, 0, "the path is null"}));
  EXPECT_FALSE(talvoro::HostHelper::IsFileExist(nullptr));
  char name[8] = "x";
  EXPECT_EQ(talvoro::DeclaredEncoding(nullptr, name, sizeof name),
            talvoro::Reason::kInvalidArgument);
  EXPECT_EQ(talvoro::DeclaredEncoding(path.c_str(), nullptr, 4), talvoro::Reason::kInvalidArgument);
  EXPECT_EQ(talvoro::DeclaredEncoding(path.c_str(), name, -1), talvoro::Reason::kInvalidArgument);
  // The texts <talvoro/c.h> promises for a value that names nothing.
  for (const char* text : {talvoro_reason_text(-1), talvoro_reason_text(TALVORO_REASON_END_),
                           talvoro_finding_text(-1), talvoro_finding_text(TALVORO_FINDING_END_)})
    EXPECT_STREQ(text, "unknown reason");
}

}  // namespace

// The talvoro inspector: shows what the library reads from a document, as
// tables or JSON, and drives the library's writers from the command line.
#ifndef TALVORO_TOOLS_INSPECTOR_H_
#define TALVORO_TOOLS_INSPECTOR_H_

#include <cstddef>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "talvoro/c.h"
#include "talvoro/diagnose.h"
#include "talvoro/talvoro.h"
#include "text.h"

namespace CLI {
class App;
}

namespace inspector {

using Json = nlohmann::ordered_json;

// One document kind that `talvoro show KIND FILE` and `check` can read: the
// library's description of it.
struct ShowKind {
  std::string name;      // the command word, e.g. "services"
  std::string document;  // what the file is, for messages: "service list"
  talvoro::DocumentKind kind;
};

// Exit status when the library returns false.
constexpr int kFailed = 1;
// Exit status of `check` when the document reads, but not as written.
constexpr int kFindings = 3;

// Prints "talvoro: MESSAGE" on stderr and returns kFailed.
int Fail(const std::string& message);

// Every kind that `show` and `check` know: the library's document kinds, in
// their order.
std::vector<ShowKind> AllKinds();

// Reads the file at `path` as a document of `kind` through the library's C
// interface into one JSON object: an array of records under the label of each
// array the kind fills, a single record's members at the top, the texts
// together under the kind's word. False with the library's reason in
// `outcome` when the library refuses the file.
bool ReadDocument(const ShowKind& kind, const std::string& path, Json& out,
                  talvoro_outcome& outcome);

// Each element record as JSON (records.cpp).
Json RecordJson(const tagServiceTypeInfo& r);
Json RecordJson(const tagServiceKindInfo& r);
Json RecordJson(const tagServiceServerInfo& r);
Json RecordJson(const tagPartInfo& r);
Json RecordJson(const tagSubPartInfo& r);
Json RecordJson(const tagZoneInfo& r);
Json RecordJson(const tagAreaInfo& r);
Json RecordJson(const tagWeatherData& r);
Json RecordJson(const tagSrvData& r);
Json RecordJson(const tagSrvService& r);
Json RecordJson(const tagSoftData& r);
Json RecordJson(const tagShortCutInfo& r);
Json RecordJson(const tagUpdateData& r);

// The outcome's reason for a person: "malformed: Error reading end tag.
// (line 3, column 5)".
std::string Explain(talvoro::Reason reason, int line, int column, const char* detail);
// The reason's words for a person, in the reader's language.
std::string Words(talvoro::Reason reason);
inline std::string Explain(const talvoro::Outcome& outcome) {
  return Explain(outcome.reason, outcome.line, outcome.column, outcome.detail);
}
inline std::string Explain(const talvoro_outcome& outcome) {
  return Explain(static_cast<talvoro::Reason>(outcome.reason), outcome.line, outcome.column,
                 outcome.detail);
}

// Why the words of a command line (its arguments, the program's name left
// out) are not a command of `app` and, for a command with kinds, one of its
// document kinds: which are, and the nearest; "" when they are.
std::string UnknownWords(CLI::App& app, const std::vector<std::string>& arguments);

// Each command of `app` on a line of its own, with what it takes and does.
std::string ShortUsage(CLI::App& app);

// Adds `check KIND FILE [--json]`.
void AddCheckCommand(CLI::App& app, int& status);

// Adds set-version, delete-shortcut, write-shortcuts and write-updates. A
// command whose library call returns false says why on stderr and sets
// `status` to 1.
void AddEditCommands(CLI::App& app, int& status);

// The text of a fixed-width field, up to its terminator (or its width).
template <std::size_t W>
std::string Text(const char (&field)[W]) {
  return std::string(field, ::strnlen(field, W));
}

// Each array or record of the object as an aligned table under its name.
void PrintTables(const Json& document, std::ostream& out);

// Whether `show --tree` draws the kind: the service list, the part list, the
// zone area list and the software component list.
bool HasTree(talvoro::DocumentKind kind);
// Draws what `read` gave for the kind as a tree under `title`, with
// box-drawing characters when `unicode`, in ASCII otherwise.
void PrintTree(talvoro::DocumentKind kind, const std::string& title, const Json& document,
               bool unicode, std::ostream& out);

}  // namespace inspector

#endif  // TALVORO_TOOLS_INSPECTOR_H_

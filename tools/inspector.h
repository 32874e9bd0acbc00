// The talvoro inspector: shows what the library reads from a document, as
// tables or JSON, and drives the library's writers from the command line.
#ifndef TALVORO_TOOLS_INSPECTOR_H_
#define TALVORO_TOOLS_INSPECTOR_H_

#include <cstddef>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "talvoro/diagnose.h"
#include "talvoro/talvoro.h"
#include "text.h"

namespace CLI {
class App;
}

namespace inspector {

using Json = nlohmann::ordered_json;

// Reads a file through the library into one JSON object holding an array per
// container member (or an object for a single record). False when the library
// returns false.
using ReadAsJson = std::function<bool(const CString& path, Json& out)>;

// How the inspector reads each document kind.
struct KindReader {
  talvoro::DocumentKind kind;
  ReadAsJson read;
};

// One document kind that `talvoro show KIND FILE` can read: the library's
// description of it, and how it is read.
struct ShowKind {
  std::string name;      // the command word, e.g. "services"
  std::string document;  // what the file is, for messages: "service list"
  talvoro::DocumentKind kind;
  ReadAsJson read;
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

// The outcome's reason for a person: "malformed: Error reading end tag.
// (line 3, column 5)".
std::string Explain(const talvoro::Outcome& outcome);

// Why the words of a command line (its arguments, the program's name left
// out) are not a command of `app` and, for a command with kinds, one of its
// document kinds: which are, and the nearest; "" when they are.
std::string UnknownWords(CLI::App& app, const std::vector<std::string>& arguments);

// Adds `check KIND FILE [--json]`.
void AddCheckCommand(CLI::App& app, int& status);

std::vector<KindReader> ServiceKinds();
std::vector<KindReader> ReadOnlyKinds();
std::vector<KindReader> ReadWriteKinds();

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

// Every element of a CArrayTemplate or a CList, through `convert`.
template <typename T, typename Convert>
Json ToJsonArray(const CArrayTemplate<T, const T&>& array, Convert convert) {
  Json items = Json::array();
  for (int i = 0; i < array.GetCount(); ++i)
    items.push_back(convert(array[i]));
  return items;
}
template <typename T, typename Convert>
Json ToJsonArray(const CList<T, const T&>& list, Convert convert) {
  Json items = Json::array();
  for (POSITION pos = list.GetHeadPosition(); pos;)
    items.push_back(convert(list.GetNext(pos)));
  return items;
}

}  // namespace inspector

#endif  // TALVORO_TOOLS_INSPECTOR_H_

// What the inspector says to a command line whose command or document kind
// it does not know: the words it knows, and the nearest of them.
#include <algorithm>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "inspector.h"
#include "messages.h"

namespace inspector {
namespace {

// How many single-character edits (insertion, removal, change, or swapping
// two neighbours) turn `a` into `b`.
std::size_t Distance(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i)
    d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j)
    d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

// The subcommands of `app`, by name, in the order they were added.
std::vector<std::string> Names(CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; }))
    names.push_back(command->get_name());
  return names;
}

// `pattern`, "unknown command '{1}'; the commands are: {2}", with the word,
// the known ones and the nearest of them.
std::string Unknown(const char* pattern, const std::string& word,
                    const std::vector<std::string>& known) {
  std::string names;
  for (std::size_t i = 0; i < known.size(); ++i)
    names += (i ? ", " : "") + known[i];
  std::string message = Format(pattern, {ShownTyped(word), names});
  const std::string* nearest = nullptr;
  std::size_t best = std::max<std::size_t>(2, word.size() / 3) + 1;
  for (const std::string& name : known) {
    const std::size_t distance = Distance(word, name);
    if (distance < best) {
      best = distance;
      nearest = &name;
    }
  }
  if (nearest) message += Format(_("; did you mean '{1}'?"), {*nearest});
  return message;
}

}  // namespace

std::string UnknownWords(CLI::App& app, const std::vector<std::string>& arguments) {
  std::vector<std::string> words;  // the arguments that are neither options nor their values
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--color") {
      ++i;  // its value follows it
    } else if (argument.empty() || argument[0] != '-') {
      words.push_back(argument);
    }
  }
  if (words.empty()) return "";
  const std::vector<std::string> commands = Names(app);
  if (std::find(commands.begin(), commands.end(), words[0]) == commands.end())
    return Unknown(_("unknown command '{1}'; the commands are: {2}"), words[0], commands);
  CLI::App* command = app.get_subcommand(words[0]);
  const std::vector<std::string> kinds = Names(*command);
  if (kinds.empty() || words.size() < 2) return "";
  if (std::find(kinds.begin(), kinds.end(), words[1]) == kinds.end())
    return Unknown(_("unknown document kind '{1}'; the document kinds are: {2}"), words[1], kinds);
  return "";
}

std::string ShortUsage(CLI::App& app) {
  std::vector<std::pair<std::string, std::string>> lines;
  for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
    std::string words = command->get_name();
    CLI::App* takes = command;
    const auto kinds = command->get_subcommands([](CLI::App*) { return true; });
    if (!kinds.empty()) {
      words += " KIND";
      takes = kinds.front();
    }
    for (const CLI::Option* option : takes->get_options({})) {
      if (!option->get_positional()) continue;
      const bool many = option->get_items_expected_max() > 1;
      words += " " + std::string(option->get_required() ? "" : "[") + option->get_name() +
               (many ? "..." : "") + (option->get_required() ? "" : "]");
    }
    lines.emplace_back(words, command->get_description());
  }
  std::size_t width = 0;
  for (const auto& line : lines)
    width = std::max(width, line.first.size());
  std::string usage = Format(_("Usage: {1} COMMAND ..."), {"talvoro"}) + "\n";
  for (const auto& [words, description] : lines)
    usage += "  " + words + std::string(width - words.size() + 2, ' ') + description + "\n";
  return usage + _("Run with --help for more information.") + "\n";
}

}  // namespace inspector

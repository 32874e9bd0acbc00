// talvoro: the library's work made visible.
//
//   talvoro show KIND FILE [--json]   what the library reads from FILE
//   talvoro check KIND FILE [--json]  why the library refuses FILE, or what it changes
//   talvoro exists PATTERN            whether IsFileExist finds PATTERN
//   talvoro set-version FILE ID VERSION
//   talvoro delete-shortcut FILE TEXT
//   talvoro write-shortcuts FILE [TEXT...]
//   talvoro write-updates FILE [FILE_TEXT CHECK_TEXT]...
//
//   talvoro --version                 the loaded library's version
//
// Exit status: 0 on success, 1 when the library returns false, 2 for usage
// errors (an unknown command or document kind names the known ones and the
// nearest; no command at all prints the short usage), 3 when `check` finds
// what the reader changes silently.
#include <algorithm>
#include <clocale>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>

#include <CLI/CLI.hpp>

#include "inspector.h"
#include "messages.h"

namespace {

constexpr int kUsage = 2;

// CLI11's own words in the reader's language: its labels, and the groups
// that it shows options and commands under, here and in every command below.
void Translate(CLI::App& app) {
  const auto formatter = app.get_formatter();
  for (const char* label : {N_("Usage"), N_("OPTIONS"), N_("SUBCOMMAND"), N_("SUBCOMMANDS"),
                            N_("Positionals"), N_("REQUIRED")})
    formatter->label(label, _(label));
  for (CLI::Option* option : app.get_options({}))
    option->group(_("Options"));
  for (CLI::App* command : app.get_subcommands({})) {
    command->group(_("Subcommands"));
    Translate(*command);
  }
}

}  // namespace

namespace inspector {

int Fail(const std::string& message) {
  std::cerr << ForTerminal("talvoro: " + message) << '\n';
  return kFailed;
}

}  // namespace inspector

int main(int argc, char** argv) {
  using namespace inspector;
  // The user's character set: the terminal's, and the code page that the
  // library's writers declare for text that is not UTF-8; and the user's
  // language.
  std::setlocale(LC_CTYPE, "");
  StartMessages();
  CLI::App app{_("talvoro: inspect and edit the trading client's XML configuration documents")};
  app.set_help_flag("-h,--help", _("Print this help message and exit"));
  app.require_subcommand(1);
  // Paths such as /tmp/x are arguments, never Windows-style options.
  app.allow_windows_style_options(false);
  int status = 0;

  CLI::App* show = app.add_subcommand("show", _("Show what the library reads from a document"));
  show->require_subcommand(1);
  std::string file;
  bool json = false, tree = false;
  const std::vector<ShowKind> kinds = AllKinds();
  for (const ShowKind& kind : kinds) {
    CLI::App* command = show->add_subcommand(
        kind.name, Format(_("Show a {1} document"), {_(kind.document.c_str())}));
    command->add_option("FILE", file, _("The document to read"))->required();
    CLI::Option* asJson = command->add_flag("--json", json, _("Print JSON instead of tables"));
    if (HasTree(kind.kind)) {
      command
          ->add_flag("--tree", tree, _("Draw the document as the tree it is, its records joined"))
          ->excludes(asJson);
    }
    command->callback([&file, &json, &tree, &status, &kind] {
      Json document;
      talvoro_outcome outcome{};
      if (!ReadDocument(kind, file, document, outcome)) {
        status = Fail(Format(_("cannot read {1} as a {2}: {3}"),
                             {ShownTyped(file), _(kind.document.c_str()), Explain(outcome)}));
        return;
      }
      // The author's text: decoded from the document's encoding.
      const Decoder decoder = Decoder::For(file);
      if (!decoder.known()) {
        std::cerr << ForTerminal("talvoro: " +
                                 Format(_("{1}: the encoding {2} is not known here: bytes above "
                                          "0x7F are shown as \\xNN"),
                                        {ShownTyped(file),
                                         ShownQuoted(Decoder("ASCII").Decode(decoder.encoding()))}))
                  << '\n';
      }
      if (json) {
        decoder.Decode(document);
        std::cout << document.dump(2) << '\n';
        return;
      }
      decoder.Show(document);
      std::ostringstream out;
      if (tree) {
        PrintTree(kind.kind, ShownTyped(file) + ": " + _(kind.document.c_str()), document,
                  TerminalTakesUtf8(), out);
      } else {
        PrintTables(document, out);
      }
      std::cout << ForTerminal(out.str());
    });
  }

  CLI::App* exists =
      app.add_subcommand("exists", _("Tell whether a file, directory or pattern exists"));
  std::string pattern;
  exists
      ->add_option("PATTERN", pattern, _("A path; '*' and '?' in its last component match entries"))
      ->required();
  exists->callback([&] {
    if (CTinyXmlHelper::IsFileExist(pattern.c_str())) {
      std::cout << ForTerminal(Format(_("{1}: exists"), {ShownTyped(pattern)})) << '\n';
    } else {
      status = Fail(Format(_("{1}: no file or directory matches"), {ShownTyped(pattern)}));
    }
  });

  AddCheckCommand(app, status);
  AddEditCommands(app, status);
  app.set_version_flag("--version", std::string("talvoro ") + talvoro_version(),
                       _("Print the version of the library and exit"));
  Translate(app);

  const std::vector<std::string> arguments(argv + 1, argv + argc);
  // No command at all: what each command is, on a line of its own.
  if (arguments.empty()) {
    std::cerr << ForTerminal(ShortUsage(app));
    return kUsage;
  }
  const bool asksForHelp = std::any_of(
      arguments.begin(), arguments.end(),
      [](const std::string& a) { return a == "-h" || a == "--help" || a == "--version"; });
  const std::string unknown = asksForHelp ? "" : UnknownWords(app, arguments);
  if (!unknown.empty()) {
    std::cerr << ForTerminal("talvoro: " + unknown + "\n" +
                             _("Run with --help for more information.") + "\n");
    return kUsage;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kUsage;
  }
  return status;
}

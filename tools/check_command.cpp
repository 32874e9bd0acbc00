// `talvoro check KIND FILE [--json]`: why the library refuses a document, or
// what its reader changes silently, in the form compilers use:
//
//   FILE:LINE:COLUMN: error: REASON
//   FILE: ok
//   FILE:LINE: warning: FINDING
//
// Exit status: 0 when the document reads as written, 1 when the library
// refuses it, 3 when it reads with findings, 2 for usage errors.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "inspector.h"

#if defined(_WIN32)
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace inspector {
namespace {

std::string Quoted(const std::string& text) {
  return '"' + text + '"';
}

// The finding as one sentence, its texts decoded from the document's
// encoding.
std::string Message(const talvoro::Finding& f, const Decoder& decoder) {
  using talvoro::FindingKind;
  const auto text = [&](const std::string& bytes) { return Quoted(decoder.ToUtf8(bytes)); };
  const std::string element = "<" + decoder.ToUtf8(f.element) + ">";
  const std::string value = Quoted(f.attribute) + " of " + element;
  const std::string written = f.written;
  switch (f.kind) {
    case FindingKind::kTextCut:
      return value + " is cut to " + std::to_string(f.width - 1) + " bytes (" +
             std::to_string(f.lost) + " lost): " + text(f.written) + " is stored as " +
             text(f.stored);
    case FindingKind::kNarrowed:
      return value + " " + f.written + " is stored as " + f.stored + " (its low 16 bits)";
    case FindingKind::kSaturated:
      return value + " " + f.written + " is beyond 32 bits: stored as " + f.stored +
             (f.width == 16 ? " (the limit's low 16 bits)" : " (the limit)");
    case FindingKind::kNumberAbsent:
      return value + " is absent: stored as 0";
    case FindingKind::kNotANumber:
      return value + " " + text(f.written) + " is not a number: stored as " + f.stored;
    case FindingKind::kTrailingText:
      return value + " " + text(f.written) + " is stored as " + f.stored +
             ": what follows the digits is ignored";
    case FindingKind::kNameCase:
      return "attribute " + text(f.written) + " of " + element + " is not read: the name is " +
             Quoted(f.attribute);
    case FindingKind::kPassedOver:
      return "element " + element + " is passed over: " + f.written;
    case FindingKind::kEntryMissing:
      return element + " has no " + Quoted(f.attribute) + ": its fields stay empty";
    case FindingKind::kCutInCharacter: {
      const std::size_t start = static_cast<std::size_t>(f.width - 1 - f.lost);
      unsigned code = 0;
      const int length = decoder.Character(written, start, &code);
      const std::string bytes = written.substr(start, length > 0 ? length : f.lost);
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", code);
      return value + " is cut inside the character " + Utf8(code) + " (" + name + ", " +
             decoder.encoding() + " bytes " + Hex(bytes, " ") + "): the host receives " +
             Hex(bytes.substr(0, static_cast<std::size_t>(f.lost)), " ") +
             " at the end of the text, part of a character";
    }
    case FindingKind::kNotText: {
      const std::string run =
          written.substr(static_cast<std::size_t>(f.width - 1), static_cast<std::size_t>(f.lost));
      std::string message = value + " is not valid " + decoder.encoding() + " from byte " +
                            std::to_string(f.width) + ": " + Hex(run, " ");
      if (run.find_first_of("\"'<>=/&; \t\n") != std::string::npos) {
        return message + ": read as UTF-8, a lead byte takes the bytes after it along, markup " +
               "among them, and the host receives " + text(f.written);
      }
      return message + ": the host receives these bytes as they are";
    }
    case FindingKind::kUnknownEncoding:
      return "the encoding " + Quoted(f.written) +
             " is not known here: its text is not checked, and bytes above 0x7F show as \\xNN";
  }
  return talvoro::FindingText(f.kind);
}

// The kinds whose place is a character: their lines give the column too.
bool AboutCharacters(talvoro::FindingKind kind) {
  return kind == talvoro::FindingKind::kCutInCharacter || kind == talvoro::FindingKind::kNotText ||
         kind == talvoro::FindingKind::kUnknownEncoding;
}

// How `check` paints its lines, as compilers do: the place in bold, "error"
// in bold red, "warning" in bold magenta; or not at all.
struct Paint {
  bool on = false;
  std::string operator()(const char* code, const std::string& text) const {
    return on ? std::string("\x1b[") + code + "m" + text + "\x1b[0m" : text;
  }
  std::string Place(const std::string& place) const { return (*this)("1", place + ":"); }
  std::string Error() const { return (*this)("1;31", "error:"); }
  std::string Warning() const { return (*this)("1;35", "warning:"); }
};

// --color: "always", "never", or "auto": on a terminal, unless NO_COLOR is set.
bool ColorWanted(const std::string& mode) {
  if (mode == "always") return true;
  if (mode == "never") return false;
  const char* noColor = std::getenv("NO_COLOR");
  if (noColor && *noColor) return false;
  return ::isatty(1) != 0;
}

struct Check {
  explicit Check(const std::string& path) : file(path), decoder(Decoder::For(path)) {}
  std::string file;
  Decoder decoder;
  Paint paint;
  std::vector<Json> findings;
  std::vector<std::string> lines;
};

void Collect(const talvoro::Finding* finding, void* context) {
  Check& check = *static_cast<Check*>(context);
  const std::string message = Message(*finding, check.decoder);
  std::string place = check.file + ":" + std::to_string(finding->line);
  if (AboutCharacters(finding->kind)) place += ":" + std::to_string(finding->column);
  check.lines.push_back(check.paint.Place(place) + " " + check.paint.Warning() + " " + message);
  // The texts decoded, with their bytes beside them where they do not decode.
  Json texts = {{"element", finding->element},
                {"attribute", finding->attribute},
                {"written", finding->written},
                {"stored", finding->stored}};
  check.decoder.Decode(texts, true);
  Json json = {{"line", finding->line},
               {"column", finding->column},
               {"kind", talvoro::FindingText(finding->kind)}};
  for (auto& item : texts.items())
    json[item.key()] = std::move(item.value());
  json["width"] = finding->width;
  json["lost"] = finding->lost;
  json["message"] = message;
  check.findings.push_back(std::move(json));
}

}  // namespace

std::string Explain(talvoro::Reason reason, int line, int column, const char* detail) {
  std::string text = talvoro::ReasonText(reason);
  if (detail[0]) text += std::string(": ") + detail;
  if (line > 0) {
    text += " (line " + std::to_string(line);
    if (column > 0) text += ", column " + std::to_string(column);
    text += ")";
  }
  return text;
}

void AddCheckCommand(CLI::App& app, int& status) {
  CLI::App* check = app.add_subcommand(
      "check", "Explain a document: why the library refuses it, or what it changes silently");
  check->require_subcommand(1);
  struct Options {
    std::string file;
    bool json = false;
    std::string color = "auto";
  };
  // The callbacks keep the options alive as long as the app parses.
  const auto options = std::make_shared<Options>();
  for (const ShowKind& kind : AllKinds()) {
    CLI::App* command = check->add_subcommand(kind.name, "Check a " + kind.document + " document");
    command->add_option("FILE", options->file, "The document to check")->required();
    command->add_flag("--json", options->json, "Print one JSON object instead of lines");
    command
        ->add_option("--color", options->color,
                     "Colour the lines as compilers do: auto (on a terminal, unless NO_COLOR "
                     "is set), always or never")
        ->check(CLI::IsMember({"auto", "always", "never"}));
    command->callback([&status, options, kind] {
      const std::string& file = options->file;
      const bool json = options->json;
      Check result(file);
      result.paint.on = !json && ColorWanted(options->color);
      talvoro::Outcome outcome{};
      const talvoro::Reason reason =
          talvoro::Diagnose(kind.kind, file.c_str(), &outcome, Collect, &result);
      const bool ok = reason == talvoro::Reason::kOk;
      status = !ok ? kFailed : result.findings.empty() ? 0 : kFindings;
      if (json) {
        Json out = {{"file", file}, {"kind", kind.name}, {"ok", ok}};
        if (!ok) {
          out["error"] = {{"reason", talvoro::ReasonText(reason)},
                          {"line", outcome.line},
                          {"column", outcome.column},
                          {"detail", outcome.detail}};
        }
        out["encoding"] = result.decoder.encoding();
        out["findings"] = result.findings;
        std::cout << out.dump(2) << '\n';
        return;
      }
      if (!ok) {
        std::string place = file;
        if (outcome.line > 0) place += ":" + std::to_string(outcome.line);
        if (outcome.column > 0) place += ":" + std::to_string(outcome.column);
        std::string text = talvoro::ReasonText(reason);
        if (outcome.detail[0]) text += std::string(": ") + outcome.detail;
        std::cout << result.paint.Place(place) << " " << result.paint.Error() << " " << text
                  << '\n';
        return;
      }
      std::cout << file << ": ok\n";
      for (const std::string& line : result.lines)
        std::cout << ForTerminal(line) << '\n';
    });
  }
}

}  // namespace inspector

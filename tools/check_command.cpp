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
#include "messages.h"

#if defined(_WIN32)
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace inspector {
namespace {

// The finding as one sentence for `target`, its texts decoded from the
// document's encoding.
std::string Message(const talvoro::Finding& f, const Decoder& decoder, Target target) {
  using talvoro::FindingKind;
  const auto text = [&](const std::string& bytes) {
    return ShownQuoted(decoder.Decode(bytes), target);
  };
  const std::string element = "<" + Shown(decoder.Decode(f.element), target) + ">";
  const std::string attribute = ShownQuoted(decoder.Decode(f.attribute), target);
  const std::string written = f.written;
  switch (f.kind) {
    case FindingKind::kTextCut:
      return Format(_("{1} of {2} is cut to {3} bytes ({4} lost): {5} is stored as {6}"),
                    {attribute, element, std::to_string(f.width - 1), std::to_string(f.lost),
                     text(f.written), text(f.stored)});
    case FindingKind::kNarrowed:
      return Format(_("{1} of {2} {3} is stored as {4} (its low 16 bits)"),
                    {attribute, element, Shown(decoder.Decode(f.written), target), f.stored});
    case FindingKind::kSaturated:
      return Format(f.width == 16
                        ? _("{1} of {2} {3} is beyond 32 bits: stored as {4} (the "
                            "limit's low 16 bits)")
                        : _("{1} of {2} {3} is beyond 32 bits: stored as {4} (the limit)"),
                    {attribute, element, Shown(decoder.Decode(f.written), target), f.stored});
    case FindingKind::kNumberAbsent:
      return Format(_("{1} of {2} is absent: stored as 0"), {attribute, element});
    case FindingKind::kNotANumber:
      return Format(_("{1} of {2} {3} is not a number: stored as {4}"),
                    {attribute, element, text(f.written), f.stored});
    case FindingKind::kTrailingText:
      return Format(_("{1} of {2} {3} is stored as {4}: what follows the digits is ignored"),
                    {attribute, element, text(f.written), f.stored});
    case FindingKind::kNameCase:
      return Format(_("attribute {1} of {2} is not read: the name is {3}"),
                    {text(f.written), element, attribute});
    case FindingKind::kPassedOver:
      return Format(_("element {1} is passed over: {2}"), {element, _(f.written)});
    case FindingKind::kEntryMissing:
      return Format(_("{1} has no {2}: its fields stay empty"), {element, attribute});
    case FindingKind::kCutInCharacter: {
      const std::size_t start = static_cast<std::size_t>(f.width - 1 - f.lost);
      unsigned code = 0;
      const int length = decoder.Character(written, start, &code);
      const std::string bytes = written.substr(start, length > 0 ? length : f.lost);
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", code);
      return Format(_("{1} of {2} is cut inside the character {3} ({4}, {5} bytes {6}): the "
                      "host receives {7} at the end of the text, part of a character"),
                    {attribute, element, Shown(Decoded(1, code), target), name, decoder.encoding(),
                     Hex(bytes, " "), Hex(bytes.substr(0, static_cast<std::size_t>(f.lost)), " ")});
    }
    case FindingKind::kNotText: {
      const std::string run =
          written.substr(static_cast<std::size_t>(f.width - 1), static_cast<std::size_t>(f.lost));
      const std::string where =
          Format(_("{1} of {2} is not valid {3} from byte {4}: {5}"),
                 {attribute, element, decoder.encoding(), std::to_string(f.width), Hex(run, " ")});
      if (run.find_first_of("\"'<>=/&; \t\n") != std::string::npos) {
        return where + Format(_(": read as UTF-8, a lead byte takes the bytes after it along, "
                                "markup among them, and the host receives {1}"),
                              {text(f.written)});
      }
      return where + _(": the host receives these bytes as they are");
    }
    case FindingKind::kUnknownEncoding:
      return Format(_("the encoding {1} is not known here: its text is not checked, and bytes "
                      "above 0x7F show as \\xNN"),
                    {text(f.written)});
  }
  return _(talvoro::FindingText(f.kind));
}

// The library's words for why an element is passed over, which the messages
// translate as they come.
[[maybe_unused]] constexpr const char* kPassedOverWhy[] = {
    N_("not read: only elements of its name are"), N_("below the last level read"),
    N_("past the values of its item")};

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
  std::string Error() const { return (*this)("1;31", _("error:")); }
  std::string Warning() const { return (*this)("1;35", _("warning:")); }
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
  std::string place = ShownTyped(check.file) + ":" + std::to_string(finding->line);
  if (AboutCharacters(finding->kind)) place += ":" + std::to_string(finding->column);
  check.lines.push_back(check.paint.Place(place) + " " + check.paint.Warning() + " " +
                        Message(*finding, check.decoder, Target::kTerminal));
  // The texts decoded, with their bytes beside them where they do not decode.
  Json json = {{"line", finding->line},
               {"column", finding->column},
               {"kind", talvoro::FindingText(finding->kind)}};
  for (const auto& [name, bytes] :
       {std::pair<const char*, const char*>{"element", finding->element},
        {"attribute", finding->attribute},
        {"written", finding->written},
        {"stored", finding->stored}})
    SetJsonText(json, name, check.decoder.Decode(bytes), bytes);
  json["width"] = finding->width;
  json["lost"] = finding->lost;
  json["message"] = Message(*finding, check.decoder, Target::kJson);
  check.findings.push_back(std::move(json));
}

}  // namespace

std::string Explain(talvoro::Reason reason, int line, int column, const char* detail) {
  std::string text = Words(reason);
  if (detail[0]) text += ": " + ShownTyped(detail);
  if (line > 0 && column > 0) {
    text += Format(_(" (line {1}, column {2})"), {std::to_string(line), std::to_string(column)});
  } else if (line > 0) {
    text += Format(_(" (line {1})"), {std::to_string(line)});
  }
  return text;
}

std::string Words(talvoro::Reason reason) {
  return _(talvoro::ReasonText(reason));
}

void AddCheckCommand(CLI::App& app, int& status) {
  CLI::App* check = app.add_subcommand(
      "check", _("Explain a document: why the library refuses it, or what it changes silently"));
  check->require_subcommand(1);
  struct Options {
    std::string file;
    bool json = false;
    std::string color = "auto";
  };
  // The callbacks keep the options alive as long as the app parses.
  const auto options = std::make_shared<Options>();
  for (const ShowKind& kind : AllKinds()) {
    CLI::App* command = check->add_subcommand(
        kind.name, Format(_("Check a {1} document"), {_(kind.document.c_str())}));
    command->add_option("FILE", options->file, _("The document to check"))->required();
    command->add_flag("--json", options->json, _("Print one JSON object instead of lines"));
    command
        ->add_option("--color", options->color,
                     _("Colour the lines as compilers do: auto (on a terminal, unless NO_COLOR "
                       "is set), always or never"))
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
        // Every text as UTF-8, with its bytes beside it where it does not
        // decode: the file name as typed, the encoding as declared.
        Json out = Json::object();
        SetJsonText(out, "file", Decoder::Terminal().Decode(file), file);
        out["kind"] = kind.name;
        out["ok"] = ok;
        if (!ok) {
          Json error = {{"reason", talvoro::ReasonText(reason)},
                        {"line", outcome.line},
                        {"column", outcome.column}};
          SetJsonText(error, "detail", Decoder::Terminal().Decode(outcome.detail), outcome.detail);
          out["error"] = error;
        }
        const std::string encoding = result.decoder.encoding();
        SetJsonText(out, "encoding", Decoder("ASCII").Decode(encoding), encoding);
        out["findings"] = result.findings;
        std::cout << out.dump(2) << '\n';
        return;
      }
      if (!ok) {
        std::string place = ShownTyped(file);
        if (outcome.line > 0) place += ":" + std::to_string(outcome.line);
        if (outcome.column > 0) place += ":" + std::to_string(outcome.column);
        std::string text = Words(reason);
        if (outcome.detail[0]) text += ": " + ShownTyped(outcome.detail);
        // How to mend what can be mended.
        if (reason == talvoro::Reason::kWideText)
          text += _("; save it as UTF-8, or in the code page it declares");
        std::cout << ForTerminal(result.paint.Place(place) + " " + result.paint.Error() + " " +
                                 text)
                  << '\n';
        return;
      }
      std::cout << ForTerminal(Format(_("{1}: ok"), {ShownTyped(file)})) << '\n';
      for (const std::string& line : result.lines)
        std::cout << ForTerminal(line) << '\n';
    });
  }
}

}  // namespace inspector

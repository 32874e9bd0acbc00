// The commands that write documents through the library: set-version,
// delete-shortcut, write-shortcuts and write-updates, each through the writer
// that reports why it failed. Texts that do not fit their record field are
// usage errors, never cut silently.
#include <cstdint>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "inspector.h"
#include "messages.h"

namespace inspector {
namespace {

// What every command keeps between parsing and running.
struct EditArguments {
  std::string file;
  int id = 0;
  std::int32_t version = 0;
  std::vector<std::string> texts;
};

// A new subcommand and the arguments it parses into. The callback keeps a
// copy of the pointer, so the arguments live as long as the app parses.
struct EditCommand {
  CLI::App* command;
  std::shared_ptr<EditArguments> shared;
};
EditCommand NewCommand(CLI::App& app, const std::string& name, const std::string& description) {
  return {app.add_subcommand(name, description), std::make_shared<EditArguments>()};
}

// Rejects text that does not fit a field of width W (W - 1 bytes and the terminator).
template <std::size_t W>
CLI::Validator FitsField() {
  return CLI::Validator(
      [](std::string& text) {
        return text.size() < W ? std::string()
                               : Format(_("longer than {1} bytes"), {std::to_string(W - 1)});
      },
      "");
}

template <std::size_t W>
void CopyText(char (&field)[W], const std::string& text) {
  std::memset(field, 0, W);
  std::memcpy(field, text.data(), text.size());  // checked to fit when parsed
}

// Why a writer failed: reading the document, or saving it.
int Failed(const std::string& file, const char* document, const talvoro::Outcome& outcome) {
  if (talvoro::FamilyOf(outcome.reason) == talvoro::ReasonFamily::kReading) {
    return Fail(Format(_("cannot read {1} as a {2}: {3}"),
                       {ShownTyped(file), _(document), Explain(outcome)}));
  }
  return Fail(
      Format(_("cannot save {1}: {2}; nothing was changed"), {ShownTyped(file), Explain(outcome)}));
}

void AddSetVersion(CLI::App& app, int& status) {
  auto [command, shared] =
      NewCommand(app, "set-version",
                 _("Set the version of every component with the given id and save the list"));
  EditArguments& args = *shared;
  command->add_option("FILE", args.file, _("The software component list"))->required();
  command->add_option("ID", args.id, _("The component id (matched on its low 16 bits)"))
      ->required()
      ->check(CLI::Range(-32768, 65535));
  command->add_option("VERSION", args.version, _("The new version number"))->required();
  command->callback([shared = shared, &args, &status] {
    auto soft = tagSoftData();
    soft.id = static_cast<std::int16_t>(static_cast<std::uint16_t>(args.id));
    soft.version = args.version;
    talvoro::Outcome outcome{};
    if (talvoro::SetSoftVersion(soft, args.file.c_str(), &outcome)) {
      std::cout << ForTerminal(Format(_("{1}: version {2} set on {3} component(s) with id {4}"),
                                      {ShownTyped(args.file), std::to_string(args.version),
                                       std::to_string(outcome.changed), std::to_string(soft.id)}))
                << '\n';
    } else {
      status = Failed(args.file, N_("software component list"), outcome);
    }
  });
}

void AddDeleteShortcut(CLI::App& app, int& status) {
  auto [command, shared] =
      NewCommand(app, "delete-shortcut",
                 _("Remove the first shortcut whose file is exactly TEXT and save the list"));
  EditArguments& args = *shared;
  command->add_option("FILE", args.file, _("The shortcut list"))->required();
  command->add_option("TEXT", args.texts, _("The shortcut's file text, matched exactly"))
      ->required()
      ->expected(1)
      ->check(FitsField<sizeof tagShortCutInfo::file>());
  command->callback([shared = shared, &args, &status] {
    auto shortcut = tagShortCutInfo();
    CopyText(shortcut.file, args.texts.front());
    talvoro::Outcome outcome{};
    if (talvoro::DeleteShortcut(args.file.c_str(), shortcut, &outcome)) {
      const std::string text = ShownQuoted(Decoder::Terminal().Decode(args.texts.front()));
      std::cout << ForTerminal(Format(outcome.changed > 0
                                          ? _("{1}: removed {2}")
                                          : _("{1}: no shortcut {2} (saved unchanged)"),
                                      {ShownTyped(args.file), text}))
                << '\n';
    } else {
      status = Failed(args.file, N_("shortcut list"), outcome);
    }
  });
}

void AddWriteShortcuts(CLI::App& app, int& status) {
  auto [command, shared] =
      NewCommand(app, "write-shortcuts", _("Replace FILE with a shortcut list of the TEXTs"));
  EditArguments& args = *shared;
  command->add_option("FILE", args.file, _("The shortcut list to write"))->required();
  command->add_option("TEXT", args.texts, _("One shortcut's file text each, in order"))
      ->check(FitsField<sizeof tagShortCutInfo::file>());
  command->callback([shared = shared, &args, &status] {
    std::vector<tagShortCutInfo> shortcuts(args.texts.size(), tagShortCutInfo());
    for (std::size_t i = 0; i < args.texts.size(); ++i)
      CopyText(shortcuts[i].file, args.texts[i]);
    talvoro::Outcome outcome{};
    if (talvoro::WriteShortcuts(args.file.c_str(), shortcuts.data(),
                                static_cast<int>(shortcuts.size()), &outcome)) {
      std::cout << ForTerminal(Format(_("{1}: wrote {2} shortcut(s)"),
                                      {ShownTyped(args.file), std::to_string(outcome.changed)}))
                << '\n';
    } else {
      status = Failed(args.file, N_("shortcut list"), outcome);
    }
  });
}

void AddWriteUpdates(CLI::App& app, int& status) {
  auto [command, shared] = NewCommand(
      app, "write-updates", _("Replace FILE with an update list of FILE_TEXT CHECK_TEXT pairs"));
  EditArguments& args = *shared;
  command->add_option("FILE", args.file, _("The update list to write"))->required();
  command->add_option("PAIRS", args.texts, _("FILE_TEXT CHECK_TEXT for each entry, in order"));
  command->callback([shared = shared, &args, &status] {
    if (args.texts.size() % 2 != 0)
      throw CLI::ValidationError("PAIRS", _("every FILE_TEXT needs its CHECK_TEXT"));
    std::vector<tagUpdateData> updates;
    for (std::size_t i = 0; i < args.texts.size(); i += 2) {
      const std::string& file = args.texts[i];
      const std::string& check = args.texts[i + 1];
      if (file.size() >= sizeof tagUpdateData::file)
        throw CLI::ValidationError(
            "FILE_TEXT", Format(_("longer than {1} bytes: {2}"), {"259", ShownTyped(file)}));
      if (check.size() >= sizeof tagUpdateData::check)
        throw CLI::ValidationError(
            "CHECK_TEXT", Format(_("longer than {1} bytes: {2}"), {"63", ShownTyped(check)}));
      auto update = tagUpdateData();
      CopyText(update.file, file);
      CopyText(update.check, check);
      updates.push_back(update);
    }
    talvoro::Outcome outcome{};
    if (talvoro::WriteUpdates(args.file.c_str(), updates.data(), static_cast<int>(updates.size()),
                              &outcome)) {
      std::cout << ForTerminal(Format(_("{1}: wrote {2} update(s)"),
                                      {ShownTyped(args.file), std::to_string(outcome.changed)}))
                << '\n';
    } else {
      status = Failed(args.file, N_("update list"), outcome);
    }
  });
}

}  // namespace

void AddEditCommands(CLI::App& app, int& status) {
  AddSetVersion(app, status);
  AddDeleteShortcut(app, status);
  AddWriteShortcuts(app, status);
  AddWriteUpdates(app, status);
}

}  // namespace inspector

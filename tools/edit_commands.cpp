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
        return text.size() < W ? std::string() : "longer than " + std::to_string(W - 1) + " bytes";
      },
      "");
}

template <std::size_t W>
void CopyText(char (&field)[W], const std::string& text) {
  std::memset(field, 0, W);
  std::memcpy(field, text.data(), text.size());  // checked to fit when parsed
}

// Why a writer failed: reading the document, or saving it.
int Failed(const std::string& file, const std::string& document, const talvoro::Outcome& outcome) {
  const bool reading = outcome.reason < talvoro::Reason::kFolderMissing;
  if (reading) return Fail("cannot read " + file + " as a " + document + ": " + Explain(outcome));
  return Fail("cannot save " + file + ": " + Explain(outcome) + "; nothing was changed");
}

void AddSetVersion(CLI::App& app, int& status) {
  auto [command, shared] = NewCommand(
      app, "set-version", "Set the version of every component with the given id and save the list");
  EditArguments& args = *shared;
  command->add_option("FILE", args.file, "The software component list")->required();
  command->add_option("ID", args.id, "The component id (matched on its low 16 bits)")
      ->required()
      ->check(CLI::Range(-32768, 65535));
  command->add_option("VERSION", args.version, "The new version number")->required();
  command->callback([shared = shared, &args, &status] {
    auto soft = tagSoftData();
    soft.id = static_cast<std::int16_t>(static_cast<std::uint16_t>(args.id));
    soft.version = args.version;
    talvoro::Outcome outcome{};
    if (talvoro::SetSoftVersion(soft, args.file.c_str(), &outcome)) {
      std::cout << args.file << ": version " << args.version << " set on " << outcome.changed
                << " component(s) with id " << soft.id << '\n';
    } else {
      status = Failed(args.file, "software component list", outcome);
    }
  });
}

void AddDeleteShortcut(CLI::App& app, int& status) {
  auto [command, shared] =
      NewCommand(app, "delete-shortcut",
                 "Remove the first shortcut whose file is exactly TEXT and save the list");
  EditArguments& args = *shared;
  command->add_option("FILE", args.file, "The shortcut list")->required();
  command->add_option("TEXT", args.texts, "The shortcut's file text, matched exactly")
      ->required()
      ->expected(1)
      ->check(FitsField<sizeof tagShortCutInfo::file>());
  command->callback([shared = shared, &args, &status] {
    auto shortcut = tagShortCutInfo();
    CopyText(shortcut.file, args.texts.front());
    talvoro::Outcome outcome{};
    if (talvoro::DeleteShortcut(args.file.c_str(), shortcut, &outcome)) {
      const bool removed = outcome.changed > 0;
      std::cout << args.file << ": " << (removed ? "removed " : "no shortcut ") << '"'
                << args.texts.front() << '"' << (removed ? "" : " (saved unchanged)") << '\n';
    } else {
      status = Failed(args.file, "shortcut list", outcome);
    }
  });
}

void AddWriteShortcuts(CLI::App& app, int& status) {
  auto [command, shared] =
      NewCommand(app, "write-shortcuts", "Replace FILE with a shortcut list of the TEXTs");
  EditArguments& args = *shared;
  command->add_option("FILE", args.file, "The shortcut list to write")->required();
  command->add_option("TEXT", args.texts, "One shortcut's file text each, in order")
      ->check(FitsField<sizeof tagShortCutInfo::file>());
  command->callback([shared = shared, &args, &status] {
    std::vector<tagShortCutInfo> shortcuts(args.texts.size(), tagShortCutInfo());
    for (std::size_t i = 0; i < args.texts.size(); ++i)
      CopyText(shortcuts[i].file, args.texts[i]);
    talvoro::Outcome outcome{};
    if (talvoro::WriteShortcuts(args.file.c_str(), shortcuts.data(),
                                static_cast<int>(shortcuts.size()), &outcome)) {
      std::cout << args.file << ": wrote " << outcome.changed << " shortcut(s)\n";
    } else {
      status = Failed(args.file, "shortcut list", outcome);
    }
  });
}

void AddWriteUpdates(CLI::App& app, int& status) {
  auto [command, shared] = NewCommand(
      app, "write-updates", "Replace FILE with an update list of FILE_TEXT CHECK_TEXT pairs");
  EditArguments& args = *shared;
  command->add_option("FILE", args.file, "The update list to write")->required();
  command->add_option("PAIRS", args.texts, "FILE_TEXT CHECK_TEXT for each entry, in order");
  command->callback([shared = shared, &args, &status] {
    if (args.texts.size() % 2 != 0)
      throw CLI::ValidationError("PAIRS", "every FILE_TEXT needs its CHECK_TEXT");
    std::vector<tagUpdateData> updates;
    for (std::size_t i = 0; i < args.texts.size(); i += 2) {
      const std::string& file = args.texts[i];
      const std::string& check = args.texts[i + 1];
      if (file.size() >= sizeof tagUpdateData::file)
        throw CLI::ValidationError("FILE_TEXT", "longer than 259 bytes: " + file);
      if (check.size() >= sizeof tagUpdateData::check)
        throw CLI::ValidationError("CHECK_TEXT", "longer than 63 bytes: " + check);
      auto update = tagUpdateData();
      CopyText(update.file, file);
      CopyText(update.check, check);
      updates.push_back(update);
    }
    talvoro::Outcome outcome{};
    if (talvoro::WriteUpdates(args.file.c_str(), updates.data(), static_cast<int>(updates.size()),
                              &outcome)) {
      std::cout << args.file << ": wrote " << outcome.changed << " update(s)\n";
    } else {
      status = Failed(args.file, "update list", outcome);
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

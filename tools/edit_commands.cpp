// The commands that write documents through the library: set-version,
// delete-shortcut, write-shortcuts and write-updates. Texts that do not fit
// their record field are usage errors, never cut silently.
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

int SoftCount(const std::string& file, std::int16_t id) {
  CList<tagSoftData, const tagSoftData&> list;
  CTinyXmlHelper::GetSoftData(list, file.c_str());
  int count = 0;
  for (POSITION pos = list.GetHeadPosition(); pos;)
    count += list.GetNext(pos).id == id;
  return count;
}

// -1 when the file cannot be read as a shortcut list.
int ShortcutCount(const std::string& file) {
  CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> array;
  return CTinyXmlHelper::GetShutCutInfo(array, file.c_str()) ? array.GetCount() : -1;
}

const char* const kUnreadable = " (missing, unreadable, malformed or without an element)";
const char* const kUnwritable =
    " (folder missing or not writable, file read-only, or the disk is full); nothing was changed";

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
    if (CTinyXmlHelper::SetSoftVersion(soft, args.file.c_str())) {
      std::cout << args.file << ": version " << args.version << " set on "
                << SoftCount(args.file, soft.id) << " component(s) with id " << soft.id << '\n';
    } else if (CList<tagSoftData, const tagSoftData&> list;
               !CTinyXmlHelper::GetSoftData(list, args.file.c_str())) {
      status = Fail("cannot read " + args.file + " as a software component list" + kUnreadable);
    } else {
      status = Fail("cannot write " + args.file + kUnwritable);
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
    const int before = ShortcutCount(args.file);
    if (CTinyXmlHelper::DeleteShutCutInfo(args.file.c_str(), shortcut)) {
      const bool removed = ShortcutCount(args.file) < before;
      std::cout << args.file << ": " << (removed ? "removed " : "no shortcut ") << '"'
                << args.texts.front() << '"' << (removed ? "" : " (saved unchanged)") << '\n';
    } else if (before < 0) {
      status = Fail("cannot read " + args.file + " as a shortcut list" + kUnreadable);
    } else {
      status = Fail("cannot write " + args.file + kUnwritable);
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
    CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> array;
    for (const std::string& text : args.texts) {
      auto shortcut = tagShortCutInfo();
      CopyText(shortcut.file, text);
      array.Add(shortcut);
    }
    if (CTinyXmlHelper::WrittingShutCutInfo(args.file.c_str(), array)) {
      std::cout << args.file << ": wrote " << array.GetCount() << " shortcut(s)\n";
    } else {
      status = Fail("cannot write " + args.file + " as a shortcut list" + kUnwritable);
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
    CList<tagUpdateData, const tagUpdateData&> list;
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
      list.AddTail(update);
    }
    if (CTinyXmlHelper::WrittingUpdateFile(args.file.c_str(), list)) {
      std::cout << args.file << ": wrote " << list.GetCount() << " update(s)\n";
    } else {
      status = Fail("cannot write " + args.file + " as an update list" + kUnwritable);
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

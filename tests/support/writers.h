// The four writers as one table, each changing a document so that it is
// saved anew over the file layer a test chooses, and a document that every
// one of them accepts.
#ifndef TALVORO_TESTS_SUPPORT_WRITERS_H_
#define TALVORO_TESTS_SUPPORT_WRITERS_H_

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "api/writers.h"
#include "talvoro/talvoro.h"
#include "test_util.h"

namespace testutil {

// One writer: changes the document at a path so that it is saved anew.
class Writer {
 public:
  using Save = talvoro::Status (*)(talvoro::Env& env, const std::string& path);
  explicit Writer(Save save) : save_(save) {}
  // Over a file layer of the test's choice, with the reason.
  talvoro::Status operator()(talvoro::Env& env, const std::string& path) const {
    return save_(env, path);
  }
  // Over the system's file layer, as the exported function answers.
  bool operator()(const std::string& path) const {
    return save_(talvoro::Env::Default(), path).ok();
  }

 private:
  Save save_;
};

// A software list and a shortcut list of about 3.6 KB, valid for every reader.
inline std::string LargeDocument() {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n<items>\n";
  for (int i = 0; i < 60; ++i) {
    xml += "    <item id=\"" + std::to_string(i) + "\" file=\"tool-" + std::to_string(i) +
           ".exe\" version=\"1\"></item>\n";
  }
  xml += "    <more><item id=\"7\" /></more>\n</items>\n";
  return xml;
}

// The four writers, each changing the document so that it is saved anew.
inline const std::vector<std::pair<const char*, Writer>>& Writers() {
  using talvoro::Env;
  using talvoro::Status;
  static const std::vector<std::pair<const char*, Writer>> writers = {
      {"SetSoftVersion", Writer([](Env& env, const std::string& path) {
         auto soft = Zeroed<tagSoftData>();
         soft.id = 7;
         soft.version = 123456;
         int updated = 0;
         return talvoro::SaveSoftVersion(env, &soft, path.c_str(), &updated);
       })},
      {"DeleteShutCutInfo", Writer([](Env& env, const std::string& path) {
         auto shortcut = Zeroed<tagShortCutInfo>();
         Set(shortcut.file, "tool-3.exe");
         int removed = 0;
         return talvoro::SaveWithoutShortcut(env, path.c_str(), &shortcut, &removed);
       })},
      {"WrittingShutCutInfo", Writer([](Env& env, const std::string& path) {
         std::vector<tagShortCutInfo> shortcuts(20, Zeroed<tagShortCutInfo>());
         for (int i = 0; i < 20; ++i)
           Set(shortcuts[i].file,
               "C:\\Program Files\\Desk\\shortcut-" + std::to_string(i) + ".exe");
         return talvoro::SaveShortcuts(env, path.c_str(), shortcuts.data(), 20);
       })},
      {"WrittingUpdateFile", Writer([](Env& env, const std::string& path) {
         CList<tagUpdateData, const tagUpdateData&> list;
         auto update = Zeroed<tagUpdateData>();
         for (int i = 0; i < 20; ++i) {
           Set(update.file, "package-" + std::to_string(i) + ".zip");
           Set(update.check, "5d41402abc4b2a76b9719d911017c592");
           list.AddTail(update);
         }
         return talvoro::SaveUpdates(env, path.c_str(), list);
       })},
  };
  return writers;
}

}  // namespace testutil

#endif  // TALVORO_TESTS_SUPPORT_WRITERS_H_

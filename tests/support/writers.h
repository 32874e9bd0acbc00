// The four writers as one table, each changing a document so that it is
// saved anew, and a document that every one of them accepts.
#ifndef TALVORO_TESTS_SUPPORT_WRITERS_H_
#define TALVORO_TESTS_SUPPORT_WRITERS_H_

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "talvoro/talvoro.h"
#include "test_util.h"

namespace testutil {

using Writer = std::function<bool(const std::string& path)>;

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
  static const std::vector<std::pair<const char*, Writer>> writers = {
      {"SetSoftVersion",
       [](const std::string& path) {
         auto soft = Zeroed<tagSoftData>();
         soft.id = 7;
         soft.version = 123456;
         return CTinyXmlHelper::SetSoftVersion(soft, path.c_str());
       }},
      {"DeleteShutCutInfo",
       [](const std::string& path) {
         auto shortcut = Zeroed<tagShortCutInfo>();
         Set(shortcut.file, "tool-3.exe");
         return CTinyXmlHelper::DeleteShutCutInfo(path.c_str(), shortcut);
       }},
      {"WrittingShutCutInfo",
       [](const std::string& path) {
         CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> array;
         auto shortcut = Zeroed<tagShortCutInfo>();
         for (int i = 0; i < 20; ++i) {
           Set(shortcut.file, "C:\\Program Files\\Desk\\shortcut-" + std::to_string(i) + ".exe");
           array.Add(shortcut);
         }
         return CTinyXmlHelper::WrittingShutCutInfo(path.c_str(), array);
       }},
      {"WrittingUpdateFile",
       [](const std::string& path) {
         CList<tagUpdateData, const tagUpdateData&> list;
         auto update = Zeroed<tagUpdateData>();
         for (int i = 0; i < 20; ++i) {
           Set(update.file, "package-" + std::to_string(i) + ".zip");
           Set(update.check, "5d41402abc4b2a76b9719d911017c592");
           list.AddTail(update);
         }
         return CTinyXmlHelper::WrittingUpdateFile(path.c_str(), list);
       }},
  };
  return writers;
}

}  // namespace testutil

#endif  // TALVORO_TESTS_SUPPORT_WRITERS_H_

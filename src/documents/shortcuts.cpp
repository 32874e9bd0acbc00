// The shortcut list: "item" elements under the document element, each naming
// its file. Read into an array, written whole as a new document, or edited by
// removing one item. The reader counts the items first, so that the array
// grows only once.
#include <string>

#include "api/binding.h"
#include "api/writers.h"
#include "diagnose/swallowed.h"
#include "read/growth.h"
#include "xml/items.h"

namespace talvoro {
namespace {

void AddItem(ItemsDocument& doc, const tagShortCutInfo& shortcut) {
  doc.Add({{"file", FieldText(shortcut.file)}});
}

}  // namespace

// Removes the first item whose "file" equals the shortcut's text exactly and
// saves everything else of the document back; no match is no failure. A
// refusal to load says where and why the document went wrong.
Status SaveWithoutShortcut(Env& env, const char* path, const tagShortCutInfo* shortcut,
                           int* removed) {
  TALVORO_RETURN_IF_ERROR(CheckPath(path));
  TALVORO_RETURN_IF_ERROR(CheckRecord(shortcut));
  XmlDocument doc(env);
  doc.Tell({true, false, &ExplainMalformed});
  const auto [status, root] = doc.Load(path);
  if (!root) return status;
  const std::string wanted = FieldText(shortcut->file);
  int matched = 0;
  for (TiXmlElement& item : ChildElements(*root, "item")) {
    if (wanted == Attr(item, "file")) {
      root->RemoveChild(&item);
      matched = 1;
      break;
    }
  }
  if (removed) *removed = matched;
  return doc.Save(path);
}

Status SaveShortcuts(Env& env, const char* path, const tagShortCutInfo* shortcuts, int count) {
  TALVORO_RETURN_IF_ERROR(CheckPath(path));
  TALVORO_RETURN_IF_ERROR(CheckRecords(shortcuts, count));
  ItemsDocument doc(env);
  for (int i = 0; i < count; ++i)
    AddItem(doc, shortcuts[i]);
  return doc.Save(path);
}

template <class Array>
Status ReadShortcuts(const Document& doc, const TiXmlElement& root, Array& array) {
  GrowFor(Appends{array, Count(ChildElements(root, "item"))});
  for (const TiXmlElement& item : doc.LastLevel(root, "item")) {
    auto shortcut = Cleared<tagShortCutInfo>();
    doc.Fields(item).Text(shortcut.file, "file");
    array.Add(shortcut);
  }
  return Status::Ok();
}

TALVORO_DOCUMENT(kShortcuts, ReadShortcuts)

}  // namespace talvoro

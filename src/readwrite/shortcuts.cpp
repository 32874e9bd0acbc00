// The shortcut list: "item" elements under the document element, each naming
// its file. Read into an array, written whole as a new document, or edited by
// removing one item. The reader counts the items first, so that the array
// grows only once.
#include <string>

#include "frame/documents.h"
#include "frame/growth.h"
#include "frame/items.h"
#include "frame/outcome.h"
#include "frame/sink.h"
#include "talvoro/diagnose.h"

namespace talvoro {
namespace {

void AddItem(ItemsDocument& doc, const tagShortCutInfo& shortcut) {
  doc.Add({{"file", FieldText(shortcut.file)}});
}

}  // namespace

// Removes the first item whose "file" equals the shortcut's text exactly and
// saves everything else of the document back; no match is no failure. A
// refusal to load says where the document went wrong.
Status SaveWithoutShortcut(Env& env, const char* path, const tagShortCutInfo& shortcut,
                           int* removed) {
  Document doc(env);
  doc.TrackPositions();
  const auto [status, root] = doc.Load(path);
  if (!root) return status;
  *removed = 0;
  const std::string wanted = FieldText(shortcut.file);
  for (TiXmlElement& item : ChildElements(*root, "item")) {
    if (wanted == Attr(item, "file")) {
      root->RemoveChild(&item);
      *removed = 1;
      break;
    }
  }
  return doc.Save(path);
}

Status SaveShortcuts(Env& env, const char* path, const tagShortCutInfo* shortcuts, int count) {
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

// The exported class's containers, and the C interface's.
template Status ReadShortcuts(const Document&, const TiXmlElement&,
                              CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&>&);
template Status ReadShortcuts(const Document&, const TiXmlElement&, SinkArray<tagShortCutInfo>&);

bool WriteShortcuts(const char* path, const tagShortCutInfo* shortcuts, int count,
                    Outcome* outcome) {
  return Report(SaveShortcuts(Env::Default(), path, shortcuts, count), count > 0 ? count : 0,
                outcome);
}

bool DeleteShortcut(const char* path, const tagShortCutInfo& shortcut, Outcome* outcome) {
  int removed = 0;
  const Status status = SaveWithoutShortcut(Env::Default(), path, shortcut, &removed);
  return Report(status, removed, outcome);
}

}  // namespace talvoro

// The shortcut list: "item" elements under the document element, each naming
// its file. Read into an array, written whole as a new document, or edited by
// removing one item. The reader counts the items first, so that the array
// grows only once (frame/growth.h).
#include <string>

#include "frame/document.h"
#include "frame/fields.h"
#include "frame/growth.h"
#include "frame/items.h"
#include "frame/walk.h"
#include "talvoro/helper.h"

using namespace talvoro;

bool CTinyXmlHelper::GetShutCutInfo(CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&>& array,
                                    CString path) {
  Document doc;
  const TiXmlElement* root = doc.Load(path);
  if (!root) return false;
  GrowFor(Appends{array, Count(ChildElements(*root, "item"))});
  for (const TiXmlElement& item : ChildElements(*root, "item")) {
    auto shortcut = Cleared<tagShortCutInfo>();
    CopyField(shortcut.file, Attr(item, "file"));
    array.Add(shortcut);
  }
  return true;
}

bool CTinyXmlHelper::WrittingShutCutInfo(
    CString path, CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&>& array) {
  ItemsDocument doc;
  for (int i = 0; i < array.GetCount(); ++i)
    doc.Add({{"file", FieldText(array.ElementAt(i).file)}});
  return doc.Save(path);
}

// Removes the first item whose "file" equals the shortcut's text exactly and
// saves everything else of the document back; no match is no failure.
bool CTinyXmlHelper::DeleteShutCutInfo(CString path, tagShortCutInfo& shortcut) {
  Document doc;
  TiXmlElement* root = doc.Load(path);
  if (!root) return false;
  const std::string wanted = FieldText(shortcut.file);
  for (TiXmlElement& item : ChildElements(*root, "item")) {
    if (wanted == Attr(item, "file")) {
      root->RemoveChild(&item);
      break;
    }
  }
  return doc.Save(path);
}

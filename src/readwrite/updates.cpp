// The update list: "item" elements under the document element, each naming a
// file and its check text. Read into a list, or written whole as a new
// document from the list, head to tail.
#include "frame/document.h"
#include "frame/fields.h"
#include "frame/items.h"
#include "frame/walk.h"
#include "talvoro/helper.h"

using namespace talvoro;

bool CTinyXmlHelper::GetUpdateData(CList<tagUpdateData, const tagUpdateData&>& list, CString path) {
  Document doc;
  const TiXmlElement* root = doc.Load(path);
  if (!root) return false;
  for (const TiXmlElement& item : ChildElements(*root, "item")) {
    auto update = Cleared<tagUpdateData>();
    CopyField(update.file, Attr(item, "file"));
    CopyField(update.check, Attr(item, "check"));
    list.AddTail(update);
  }
  return true;
}

bool CTinyXmlHelper::WrittingUpdateFile(CString path,
                                        CList<tagUpdateData, const tagUpdateData&>& list) {
  ItemsDocument doc;
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    const tagUpdateData& update = list.GetNext(pos);
    doc.Add({{"file", FieldText(update.file)}, {"check", FieldText(update.check)}});
  }
  return doc.Save(path).ok();
}

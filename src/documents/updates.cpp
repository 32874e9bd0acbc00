// The update list: "item" elements under the document element, each naming a
// file and its check text. Read into a list, or written whole as a new
// document from the list, head to tail.
#include "api/binding.h"
#include "api/writers.h"
#include "xml/items.h"

namespace talvoro {
namespace {

// One "item": "file", then "check".
void AddItem(ItemsDocument& doc, const tagUpdateData& update) {
  doc.Add({{"file", FieldText(update.file)}, {"check", FieldText(update.check)}});
}

}  // namespace

template <class List>
Status ReadUpdates(const Document& doc, const TiXmlElement& root, List& list) {
  for (const TiXmlElement& item : doc.LastLevel(root, "item")) {
    const Fields in = doc.Fields(item);
    auto update = Cleared<tagUpdateData>();
    in.Text(update.file, "file");
    in.Text(update.check, "check");
    list.AddTail(update);
  }
  return Status::Ok();
}

Status SaveUpdates(Env& env, const char* path, const tagUpdateData* updates, int count) {
  TALVORO_RETURN_IF_ERROR(CheckPath(path));
  TALVORO_RETURN_IF_ERROR(CheckRecords(updates, count));
  ItemsDocument doc(env);
  for (int i = 0; i < count; ++i)
    AddItem(doc, updates[i]);
  return doc.Save(path);
}

Status SaveUpdates(Env& env, const char* path,
                   const CList<tagUpdateData, const tagUpdateData&>& list) {
  TALVORO_RETURN_IF_ERROR(CheckPath(path));
  ItemsDocument doc(env);
  for (POSITION pos = list.GetHeadPosition(); pos;)
    AddItem(doc, list.GetNext(pos));
  return doc.Save(path);
}

TALVORO_DOCUMENT(kUpdates, ReadUpdates)

}  // namespace talvoro

// The update list: "item" elements under the document element, each naming a
// file and its check text. Read into a list, or written whole as a new
// document from the list, head to tail.
#include "frame/documents.h"
#include "frame/items.h"
#include "frame/outcome.h"
#include "frame/sink.h"
#include "talvoro/diagnose.h"

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

// The exported class's containers, and the C interface's.
template Status ReadUpdates(const Document&, const TiXmlElement&,
                            CList<tagUpdateData, const tagUpdateData&>&);
template Status ReadUpdates(const Document&, const TiXmlElement&, SinkArray<tagUpdateData>&);

Status SaveUpdates(Env& env, const char* path, const tagUpdateData* updates, int count) {
  ItemsDocument doc(env);
  for (int i = 0; i < count; ++i)
    AddItem(doc, updates[i]);
  return doc.Save(path);
}

Status SaveUpdates(Env& env, const char* path,
                   const CList<tagUpdateData, const tagUpdateData&>& list) {
  ItemsDocument doc(env);
  for (POSITION pos = list.GetHeadPosition(); pos;)
    AddItem(doc, list.GetNext(pos));
  return doc.Save(path);
}

bool WriteUpdates(const char* path, const tagUpdateData* updates, int count, Outcome* outcome) {
  return Report(SaveUpdates(Env::Default(), path, updates, count), count > 0 ? count : 0, outcome);
}

}  // namespace talvoro

// The software component list: group elements holding component elements,
// both levels walked by position whatever the element names. Components are
// read into a list, and a component's version can be written back.
#include "api/binding.h"
#include "api/writers.h"
#include "diagnose/swallowed.h"

namespace talvoro {

// Every component whose "id" agrees with soft->id in its low 16 bits gets
// the new version; the document is saved back whether or not any matched. A
// refusal to load says where and why the document went wrong.
Status SaveSoftVersion(Env& env, const tagSoftData* soft, const char* path, int* updated) {
  TALVORO_RETURN_IF_ERROR(CheckRecord(soft));
  XmlDocument doc(env);
  doc.Tell({true, false, &ExplainMalformed});
  const auto [status, root] = doc.Load(path);
  if (!root) return status;
  int matched = 0;
  for (TiXmlElement& group : ChildElements(*root)) {
    for (TiXmlElement& component : ChildElements(group)) {
      if (Low16(Decimal(Attr(component, "id"))) == soft->id) {
        component.SetAttribute("version", soft->version);
        ++matched;
      }
    }
  }
  if (updated) *updated = matched;
  return doc.Save(path);
}

template <class List>
Status ReadSoftware(const Document& doc, const TiXmlElement& root, List& list) {
  for (const TiXmlElement& group : doc.Children(root)) {
    for (const TiXmlElement& component : doc.LastLevel(group)) {
      const Fields in = doc.Fields(component);
      auto soft = Cleared<tagSoftData>();
      soft.id = in.Number16("id");
      soft.depend = in.Number16("depend");
      soft.version = in.Number("version");
      in.Text(soft.kindName, "kindName");
      in.Text(soft.processName, "processName");
      in.Text(soft.zipName, "zipName");
      in.Text(soft.unzipDir, "UnzipDir");
      list.AddTail(soft);
    }
  }
  return Status::Ok();
}

TALVORO_DOCUMENT(kSoftware, ReadSoftware)

}  // namespace talvoro

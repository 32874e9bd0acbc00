// The software component list: group elements holding component elements,
// both levels walked by position whatever the element names. Components are
// read into a list, and a component's version can be written back.
#include "frame/document.h"
#include "frame/fields.h"
#include "frame/walk.h"
#include "talvoro/helper.h"

using namespace talvoro;

bool CTinyXmlHelper::GetSoftData(CList<tagSoftData, const tagSoftData&>& list, CString path) {
  Document doc;
  const TiXmlElement* root = doc.Load(path);
  if (!root) return false;
  for (const TiXmlElement& group : ChildElements(*root)) {
    for (const TiXmlElement& component : ChildElements(group)) {
      auto soft = Cleared<tagSoftData>();
      soft.id = Low16(Decimal(Attr(component, "id")));
      soft.depend = Low16(Decimal(Attr(component, "depend")));
      soft.version = Decimal(Attr(component, "version"));
      CopyField(soft.kindName, Attr(component, "kindName"));
      CopyField(soft.processName, Attr(component, "processName"));
      CopyField(soft.zipName, Attr(component, "zipName"));
      CopyField(soft.unzipDir, Attr(component, "UnzipDir"));
      list.AddTail(soft);
    }
  }
  return true;
}

// Every component whose "id" agrees with soft.id in its low 16 bits gets the
// new version; the document is saved back whether or not any matched.
bool CTinyXmlHelper::SetSoftVersion(tagSoftData& soft, CString path) {
  Document doc;
  TiXmlElement* root = doc.Load(path);
  if (!root) return false;
  for (TiXmlElement& group : ChildElements(*root)) {
    for (TiXmlElement& component : ChildElements(group)) {
      if (Low16(Decimal(Attr(component, "id"))) == soft.id)
        component.SetAttribute("version", soft.version);
    }
  }
  return doc.Save(path).ok();
}

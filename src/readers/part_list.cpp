// The part list: parts, and under each part its sub-parts, walked by position
// whatever the element names. A part's sub-parts are appended before the part
// itself, and each carries the part's id. Parts and sub-parts are counted
// first, so that each array grows only once (frame/growth.h).
#include "frame/document.h"
#include "frame/fields.h"
#include "frame/growth.h"
#include "frame/walk.h"
#include "talvoro/helper.h"

using namespace talvoro;

bool CTinyXmlHelper::GetPartData(tagPartListInfo& info, CString path) {
  Document doc;
  const TiXmlElement* root = doc.Load(path);
  if (!root) return false;
  std::size_t parts = 0, subParts = 0;
  for (const TiXmlElement& partElement : ChildElements(*root)) {
    ++parts;
    subParts += Count(ChildElements(partElement));
  }
  GrowFor(Appends{info.parts, parts}, Appends{info.subParts, subParts});

  for (const TiXmlElement& partElement : ChildElements(*root)) {
    auto part = Cleared<tagPartInfo>();
    part.id = Decimal(Attr(partElement, "id"));
    CopyField(part.name, Attr(partElement, "Name"));
    CopyField(part.url, Attr(partElement, "Url"));

    for (const TiXmlElement& subElement : ChildElements(partElement)) {
      auto sub = Cleared<tagSubPartInfo>();
      sub.parentId = part.id;
      sub.id = Decimal(Attr(subElement, "id"));
      CopyField(sub.name, Attr(subElement, "Name"));
      CopyField(sub.url, Attr(subElement, "Url"));
      sub.target = Decimal(Attr(subElement, "target"));
      info.subParts.Add(sub);
    }
    info.parts.Add(part);
  }
  return true;
}

// The part list: parts, and under each part its sub-parts, walked by position
// whatever the element names. A part's sub-parts are appended before the part
// itself, and each carries the part's id. Parts and sub-parts are counted
// first, so that each array grows only once.
#include "api/binding.h"
#include "read/growth.h"

namespace talvoro {

template <class Info>
Status ReadPartList(const Document& doc, const TiXmlElement& root, Info& info) {
  std::size_t parts = 0, subParts = 0;
  for (const TiXmlElement& partElement : ChildElements(root)) {
    ++parts;
    subParts += Count(ChildElements(partElement));
  }
  GrowFor(Appends{info.parts, parts}, Appends{info.subParts, subParts});

  for (const TiXmlElement& partElement : doc.Children(root)) {
    const Fields partIn = doc.Fields(partElement);
    auto part = Cleared<tagPartInfo>();
    part.id = partIn.Number("id");
    partIn.Text(part.name, "Name");
    partIn.Text(part.url, "Url");

    for (const TiXmlElement& subElement : doc.LastLevel(partElement)) {
      const Fields subIn = doc.Fields(subElement);
      auto sub = Cleared<tagSubPartInfo>();
      sub.parentId = part.id;
      sub.id = subIn.Number("id");
      subIn.Text(sub.name, "Name");
      subIn.Text(sub.url, "Url");
      sub.target = subIn.Number("target");
      info.subParts.Add(sub);
    }
    info.parts.Add(part);
  }
  return Status::Ok();
}

TALVORO_DOCUMENT(kParts, ReadPartList)

}  // namespace talvoro

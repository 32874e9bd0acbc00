// The zone areas: every child element of the document element is an item, a
// zone when it is named exactly "Zone" and an area otherwise. An item's values
// are the contents of its child elements, taken by position whatever their
// names. A missing child or an empty one reads as 0 or as empty text. Zones
// and areas are counted first, so that each array grows only once
// (frame/growth.h).
#include <cstring>

#include "frame/document.h"
#include "frame/fields.h"
#include "frame/growth.h"
#include "frame/walk.h"
#include "talvoro/helper.h"

using namespace talvoro;

namespace {

bool IsZone(const TiXmlElement& item) {
  return std::strcmp(item.Value(), "Zone") == 0;
}

// The values of an item's first N child elements. A child's value is the
// value of its own first child node, of whatever kind: the text of text or
// CDATA, the text of a comment, the name of a nested element. A child that is
// missing, or that has no child node, gives empty text.
template <int N>
class ItemValues {
 public:
  explicit ItemValues(const TiXmlElement& item) {
    int index = 0;
    for (const TiXmlElement& child : ChildElements(item)) {
      if (index == N) break;
      const TiXmlNode* content = child.FirstChild();
      if (content) values_[index] = content->Value();
      ++index;
    }
  }
  const char* Text(int index) const { return values_[index] ? values_[index] : ""; }
  std::int16_t Number(int index) const { return Low16(Decimal(Text(index))); }

 private:
  const char* values_[N] = {};  // null for a missing child or one without content
};

}  // namespace

bool CTinyXmlHelper::GetAreaData(tagZoneAreaArray& info, CString path) {
  Document doc;
  const TiXmlElement* root = doc.Load(path);
  if (!root) return false;
  std::size_t zones = 0, areas = 0;
  for (const TiXmlElement& item : ChildElements(*root))
    ++(IsZone(item) ? zones : areas);
  GrowFor(Appends{info.zones, zones}, Appends{info.areas, areas});

  for (const TiXmlElement& item : ChildElements(*root)) {
    if (IsZone(item)) {
      const ItemValues<2> children(item);  // number, name
      auto zone = Cleared<tagZoneInfo>();
      zone.id = children.Number(0);
      CopyField(zone.name, children.Text(1));
      info.zones.SetAtGrow(info.zones.GetCount(), zone);
    } else {
      const ItemValues<4> children(item);  // number, zone number, name, extra
      auto area = Cleared<tagAreaInfo>();
      area.id = children.Number(0);
      area.zoneId = children.Number(1);
      CopyField(area.name, children.Text(2));
      area.extra = children.Number(3);
      info.areas.Add(area);
    }
  }
  return true;
}

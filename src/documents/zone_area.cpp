// The zone areas: every child element of the document element is an item, a
// zone when it is named exactly "Zone" and an area otherwise. An item's values
// are the contents of its child elements, taken by position whatever their
// names. A missing child or an empty one reads as 0 or as empty text. Zones
// and areas are counted first, so that each array grows only once.
#include <cstring>

#include "api/binding.h"
#include "read/child_values.h"
#include "read/growth.h"

namespace talvoro {
namespace {

bool IsZone(const TiXmlElement& item) {
  return std::strcmp(item.Value(), "Zone") == 0;
}

constexpr const char* kZoneValues[] = {"zone number", "zone name"};
constexpr const char* kAreaValues[] = {"area number", "zone number", "area name", "extra number"};

}  // namespace

template <class Info>
Status ReadZoneAreas(const Document& doc, const TiXmlElement& root, Info& info) {
  std::size_t zones = 0, areas = 0;
  for (const TiXmlElement& item : ChildElements(root))
    ++(IsZone(item) ? zones : areas);
  GrowFor(Appends{info.zones, zones}, Appends{info.areas, areas});

  for (const TiXmlElement& item : doc.Children(root)) {
    if (IsZone(item)) {
      const ChildValues<2> values(doc, item, kZoneValues);
      auto zone = Cleared<tagZoneInfo>();
      zone.id = values.Number16(0);
      values.Text(zone.name, 1);
      info.zones.SetAtGrow(info.zones.GetCount(), zone);
    } else {
      const ChildValues<4> values(doc, item, kAreaValues);
      auto area = Cleared<tagAreaInfo>();
      area.id = values.Number16(0);
      area.zoneId = values.Number16(1);
      values.Text(area.name, 2);
      area.extra = values.Number16(3);
      info.areas.Add(area);
    }
  }
  return Status::Ok();
}

TALVORO_DOCUMENT(kZones, ReadZoneAreas)

}  // namespace talvoro

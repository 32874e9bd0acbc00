// The zone areas: every child element of the document element is an item, a
// zone when it is named exactly "Zone" and an area otherwise. An item's values
// are the contents of its child elements, taken by position whatever their
// names. A missing child or an empty one reads as 0 or as empty text. Zones
// and areas are counted first, so that each array grows only once.
#include <cstring>

#include "frame/documents.h"
#include "frame/growth.h"

namespace talvoro {
namespace {

bool IsZone(const TiXmlElement& item) {
  return std::strcmp(item.Value(), "Zone") == 0;
}

// The values of an item's first N child elements. A child's value is the
// value of its own first child node, of whatever kind: the text of text or
// CDATA, the text of a comment, the name of a nested element. A child that is
// missing, or that has no child node, gives empty text. With an observer,
// missing children, children past the N-th and every value stored otherwise
// than written are reported; `names` says what each value is.
template <int N>
class ItemValues {
 public:
  ItemValues(const Document& doc, const TiXmlElement& item, const char* const (&names)[N])
      : names_(names), observer_(doc.observer()) {
    int index = 0;
    for (const TiXmlElement& child : ChildElements(item)) {
      if (index == N) {
        if (observer_) ObservePassedOver(*observer_, child, "past the values of its item");
        continue;
      }
      children_[index] = &child;
      const TiXmlNode* content = child.FirstChild();
      if (content) values_[index] = content->Value();
      ++index;
    }
    if (!observer_) return;
    for (; index < N; ++index)
      ObserveMissing(*observer_, item, names[index]);
  }

  template <std::size_t W>
  void Text(char (&field)[W], int index) const {
    CopyField(field, Value(index));
    if (observer_ && children_[index])
      ObserveText(*observer_, *children_[index], names_[index], Value(index), W);
  }
  std::int16_t Number16(int index) const {
    if (observer_ && children_[index])
      ObserveNumber(*observer_, *children_[index], names_[index], values_[index], NumberField::k16);
    return Low16(Decimal(Value(index)));
  }

 private:
  const char* Value(int index) const { return values_[index] ? values_[index] : ""; }

  const char* const (&names_)[N];
  Observer* observer_;
  const TiXmlElement* children_[N] = {};
  const char* values_[N] = {};  // null for a missing child or one without content
};

constexpr const char* kZoneValues[] = {"zone number", "zone name"};
constexpr const char* kAreaValues[] = {"area number", "zone number", "area name", "extra number"};

}  // namespace

Status ReadZoneAreas(Document& doc, const char* path, tagZoneAreaArray& info) {
  const TiXmlElement* root = doc.Load(path);
  if (!root) return doc.status();
  std::size_t zones = 0, areas = 0;
  for (const TiXmlElement& item : ChildElements(*root))
    ++(IsZone(item) ? zones : areas);
  GrowFor(Appends{info.zones, zones}, Appends{info.areas, areas});

  for (const TiXmlElement& item : doc.Children(*root)) {
    if (IsZone(item)) {
      const ItemValues<2> children(doc, item, kZoneValues);
      auto zone = Cleared<tagZoneInfo>();
      zone.id = children.Number16(0);
      children.Text(zone.name, 1);
      info.zones.SetAtGrow(info.zones.GetCount(), zone);
    } else {
      const ItemValues<4> children(doc, item, kAreaValues);
      auto area = Cleared<tagAreaInfo>();
      area.id = children.Number16(0);
      area.zoneId = children.Number16(1);
      children.Text(area.name, 2);
      area.extra = children.Number16(3);
      info.areas.Add(area);
    }
  }
  return Status::Ok();
}

}  // namespace talvoro

#include "frame/items.h"

namespace talvoro {

// Each node is linked as soon as it is made (linking never throws), so the
// document owns it even if a later allocation throws.
ItemsDocument::ItemsDocument(Env& env) : doc_(env) {
  TiXmlDocument& xml = doc_.Xml();
  xml.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", "yes"));
  items_ = new TiXmlElement("items");
  xml.LinkEndChild(items_);
}

void ItemsDocument::Add(std::initializer_list<ItemAttribute> attributes) {
  auto* item = new TiXmlElement("item");
  items_->LinkEndChild(item);
  for (const ItemAttribute& attribute : attributes)
    item->SetAttribute(attribute.name, attribute.value.c_str());
  item->LinkEndChild(new TiXmlText(""));
}

}  // namespace talvoro

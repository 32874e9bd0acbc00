#include "xml/items.h"

#include <memory>
#include <string>

#include "xml/walk.h"

namespace talvoro {

// Each node is linked as soon as it is made (linking never throws), so the
// document owns it even if a later allocation throws.
ItemsDocument::ItemsDocument(Env& env) : env_(env), doc_(env) {
  TiXmlDocument& xml = doc_.Xml();
  declaration_ = new TiXmlDeclaration("1.0", "UTF-8", "yes");
  xml.LinkEndChild(declaration_);
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

ItemsDocument::Value ItemsDocument::FirstNonText(Charset& charset) const {
  int index = 0;
  for (const TiXmlElement& item : ChildElements(*items_)) {
    ++index;
    for (const TiXmlAttribute* a = item.FirstAttribute(); a; a = a->Next()) {
      if (!IsText(charset, a->ValueStr())) return {index, a->Name()};
    }
  }
  return {0, ""};
}

Status ItemsDocument::Save(const char* path) {
  const Value notUtf8 = FirstNonText(*Utf8Charset());
  if (!notUtf8.item) return doc_.Save(path);
  const std::string narrow = env_.NarrowCharset();
  const std::unique_ptr<Charset> host = narrow.empty() ? nullptr : env_.OpenCharset(narrow);
  if (host && !FirstNonText(*host).item) {
    *declaration_ = TiXmlDeclaration("1.0", narrow.c_str(), "yes");
    return doc_.Save(path);
  }
  Status status = doc_.Save(path);
  if (status.code() != Reason::kNotReadBack) return status;
  return Status(Reason::kNotReadBack,
                "item " + std::to_string(notUtf8.item) + ": \"" + notUtf8.attribute +
                    "\" is not UTF-8, " +
                    (narrow.empty() ? std::string("and the host's character set is UTF-8")
                                    : "nor text in the host's " + narrow));
}

}  // namespace talvoro

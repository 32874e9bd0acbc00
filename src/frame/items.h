// The flat "items" documents that writers build from records: a declaration
// (version 1.0, UTF-8, standalone), the element "items", and one "item" per
// record holding its attributes and an empty text, so that TinyXML prints it
// with a separate end tag.
#ifndef TALVORO_FRAME_ITEMS_H_
#define TALVORO_FRAME_ITEMS_H_

#include <initializer_list>
#include <string>

#include <tinyxml.h>

#include "frame/document.h"

namespace talvoro {

struct ItemAttribute {
  const char* name;
  std::string value;
};

class ItemsDocument {
 public:
  explicit ItemsDocument(Env& env);

  // Appends an "item" with these attributes, printed in the order given.
  void Add(std::initializer_list<ItemAttribute> attributes);

  Status Save(const char* path) const { return doc_.Save(path); }

 private:
  Document doc_;
  TiXmlElement* items_;
};

}  // namespace talvoro

#endif  // TALVORO_FRAME_ITEMS_H_

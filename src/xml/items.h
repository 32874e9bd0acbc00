// The flat "items" documents that writers build from records: a declaration
// (version 1.0, UTF-8, standalone), the element "items", and one "item" per
// record holding its attributes and an empty text, so that TinyXML prints it
// with a separate end tag.
//
// The records' text is written as the bytes it is, whatever the declaration
// says. Text that is not UTF-8 (paths in a host's ANSI code page, say) would
// be read back by every TinyXML as other bytes under a UTF-8 declaration, so
// such a document declares the host's narrow character set instead when all
// its text is text there.
#ifndef TALVORO_XML_ITEMS_H_
#define TALVORO_XML_ITEMS_H_

#include <initializer_list>
#include <string>

#include <tinyxml.h>

#include "xml/document.h"
#include "xml/encoding.h"

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

  // Saves as XmlDocument::Save does. The declaration names UTF-8 when all text
  // is UTF-8; otherwise the host's narrow character set (Env::NarrowCharset)
  // when all text is text in it; otherwise UTF-8 still, and a text that then
  // would not read back is refused naming the first item that is not UTF-8.
  Status Save(const char* path);

 private:
  // The first value, by item (from 1) and attribute, that is not text in
  // `charset`; item 0 when there is none.
  struct Value {
    int item;
    const char* attribute;
  };
  Value FirstNonText(Charset& charset) const;

  Env& env_;
  XmlDocument doc_;
  TiXmlDeclaration* declaration_;
  TiXmlElement* items_;
};

}  // namespace talvoro

#endif  // TALVORO_XML_ITEMS_H_

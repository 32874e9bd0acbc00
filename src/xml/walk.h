// Range-for over the child elements of a node: all of them in document order,
// or only those of one exact name.
#ifndef TALVORO_XML_WALK_H_
#define TALVORO_XML_WALK_H_

#include <tinyxml.h>

namespace talvoro {

template <typename Element>  // TiXmlElement or const TiXmlElement
class ChildElementRange {
 public:
  class iterator {
   public:
    iterator(Element* element, const char* name) : element_(element), name_(name) {}
    Element& operator*() const { return *element_; }
    iterator& operator++() {
      element_ = name_ ? element_->NextSiblingElement(name_) : element_->NextSiblingElement();
      return *this;
    }
    bool operator!=(const iterator& other) const { return element_ != other.element_; }

   private:
    Element* element_;
    const char* name_;
  };

  ChildElementRange(Element* first, const char* name) : first_(first), name_(name) {}
  iterator begin() const { return iterator(first_, name_); }
  iterator end() const { return iterator(nullptr, name_); }

 private:
  Element* first_;
  const char* name_;
};

// Every child element of `parent`, or, with a name, those named exactly so.
inline ChildElementRange<const TiXmlElement> ChildElements(const TiXmlNode& parent,
                                                           const char* name = nullptr) {
  return {name ? parent.FirstChildElement(name) : parent.FirstChildElement(), name};
}
inline ChildElementRange<TiXmlElement> ChildElements(TiXmlNode& parent,
                                                     const char* name = nullptr) {
  return {name ? parent.FirstChildElement(name) : parent.FirstChildElement(), name};
}

}  // namespace talvoro

#endif  // TALVORO_XML_WALK_H_

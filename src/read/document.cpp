#include "read/document.h"

#include <cstring>

namespace talvoro {

Document::Document(Env& env, Observer* observer) : xml_(env), observer_(observer) {
  // The observer's findings name the line of each element.
  if (observer_) xml_.Tell({true, true, nullptr});
}

XmlDocument::Loaded Document::Load(const char* path) {
  XmlDocument::Loaded loaded = xml_.Load(path);
  if (loaded.root && observer_) observer_->Loaded(xml_);
  return loaded;
}

ChildElementRange<const TiXmlElement> Document::Children(const TiXmlElement& parent,
                                                         const char* name) const {
  if (observer_ && name) {
    for (const TiXmlElement& child : ChildElements(parent)) {
      if (std::strcmp(child.Value(), name) != 0)
        observer_->PassedOver(child, "not read: only elements of its name are");
    }
  }
  return ChildElements(parent, name);
}

ChildElementRange<const TiXmlElement> Document::LastLevel(const TiXmlElement& parent,
                                                          const char* name) const {
  if (observer_) {
    for (const TiXmlElement& element : Children(parent, name))
      NothingReadBelow(element);
  }
  return ChildElements(parent, name);
}

void Document::NothingReadBelow(const TiXmlElement& element) const {
  if (!observer_) return;
  for (const TiXmlElement& below : ChildElements(element))
    observer_->PassedOver(below, "below the last level read");
}

const TiXmlElement* Document::Entry(const TiXmlElement& parent, const char* name) const {
  const TiXmlElement* entry = parent.FirstChildElement(name);
  if (!entry && observer_) observer_->Missing(parent, name);
  return entry;
}

}  // namespace talvoro

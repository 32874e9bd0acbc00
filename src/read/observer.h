// Observer: what the diagnosis hands to a reader, so that the reading frame
// tells it every value a reader takes and every element it passes over, as
// the reader meets them. Readers run with no observer for the exported
// class and the C interface; then each of the frame's helpers costs one null
// test. The diagnosis (src/diagnose) says what each of these means.
#ifndef TALVORO_READ_OBSERVER_H_
#define TALVORO_READ_OBSERVER_H_

#include <cstddef>

#include <tinyxml.h>

#include "xml/document.h"

namespace talvoro {

// How a numeric field keeps the converted value.
enum class NumberField { k32, k16, k16ZeroExtended };

class Observer {
 public:
  virtual ~Observer() = default;

  // The document has loaded: its encoding is known.
  virtual void Loaded(const XmlDocument& doc) = 0;
  // Each is about `element`, its value `what` (an attribute's name or a
  // description such as "zone name") and the text as written (null when it
  // is absent):
  // - a text stored into a field of `width` bytes (0: no field bounds it);
  virtual void Text(const TiXmlElement& element, const char* what, const char* written,
                    std::size_t width) = 0;
  // - a number converted into `field`;
  virtual void Number(const TiXmlElement& element, const char* what, const char* written,
                      NumberField field) = 0;
  // - an element named `name` that the reader looks for below `parent` and
  //   does not find;
  virtual void Missing(const TiXmlElement& parent, const char* name) = 0;
  // - an element the reader passes over, and why.
  virtual void PassedOver(const TiXmlElement& element, const char* why) = 0;
};

}  // namespace talvoro

#endif  // TALVORO_READ_OBSERVER_H_

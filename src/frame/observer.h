// Observer: what the diagnosis hands to a reader so that the frame's helpers
// report every value they change silently. Readers run with no observer for
// the exported functions; then each helper costs one null test.
#ifndef TALVORO_FRAME_OBSERVER_H_
#define TALVORO_FRAME_OBSERVER_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include <tinyxml.h>

#include "frame/env.h"
#include "talvoro/diagnose.h"

namespace talvoro {

class Observer {
 public:
  virtual ~Observer() = default;
  virtual void Report(const Finding& finding) = 0;

  // The character set of the document's text, once it is loaded; null when
  // the system does not know it. `tinyXmlUtf8`: TinyXML reads the text as
  // UTF-8, a lead byte taking the bytes after it along.
  Charset* charset() const { return charset_.get(); }
  bool tinyXmlUtf8() const { return tinyXmlUtf8_; }

 private:
  friend void ObserveEncoding(Observer& observer, Env& env, const TiXmlDocument& doc,
                              const std::string& encoding);
  std::unique_ptr<Charset> charset_;
  bool tinyXmlUtf8_ = false;
};

// How a numeric field keeps the converted value.
enum class NumberField { k32, k16, k16ZeroExtended };

// The reports, each about `element`, its value `what` (an attribute's name or
// a description such as "child 2") and the text as written (null when it is
// absent). Each reports only when there is something to say.
void ObserveText(Observer& observer, const TiXmlElement& element, const char* what,
                 const char* written, std::size_t width);
void ObserveNumber(Observer& observer, const TiXmlElement& element, const char* what,
                   const char* written, NumberField field);
void ObserveMissing(Observer& observer, const TiXmlElement& parent, const char* name);
void ObservePassedOver(Observer& observer, const TiXmlElement& element, const char* why);
// The loaded document's encoding (Document::Encoding): the set its text is
// checked in from here on, and a finding when the system does not know it.
void ObserveEncoding(Observer& observer, Env& env, const TiXmlDocument& doc,
                     const std::string& encoding);

}  // namespace talvoro

#endif  // TALVORO_FRAME_OBSERVER_H_

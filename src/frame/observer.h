// Observer: what the diagnosis hands to a reader so that the frame's helpers
// report every value they change silently. Readers run with no observer for
// the exported functions; then each helper costs one null test.
#ifndef TALVORO_FRAME_OBSERVER_H_
#define TALVORO_FRAME_OBSERVER_H_

#include <cstddef>
#include <cstdint>

#include <tinyxml.h>

#include "talvoro/diagnose.h"

namespace talvoro {

class Observer {
 public:
  virtual ~Observer() = default;
  virtual void Report(const Finding& finding) = 0;
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

}  // namespace talvoro

#endif  // TALVORO_FRAME_OBSERVER_H_

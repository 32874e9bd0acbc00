#include "read/fields.h"

namespace talvoro {

DecimalReading ReadDecimal(const char* text) {
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
    ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  // Accumulate the magnitude; stop growing it once it is past the range.
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
  std::int64_t magnitude = 0;
  const char* digits = p;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (magnitude <= limit) magnitude = magnitude * 10 + (*p - '0');
  }
  DecimalReading reading;
  reading.digits = p != digits;
  reading.saturated = magnitude > limit;
  if (reading.saturated) magnitude = limit;
  reading.value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
  reading.rest = p;
  return reading;
}

}  // namespace talvoro

// How document values become record fields and back: attribute text, the
// bounded field copy, a field's text, the decimal conversion, the 16-bit
// narrowing and cleared staging records.
#ifndef TALVORO_READ_FIELDS_H_
#define TALVORO_READ_FIELDS_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include <tinyxml.h>

#include "read/observer.h"

namespace talvoro {

// The attribute's text as TinyXML delivers it; an absent attribute is "".
inline const char* Attr(const TiXmlElement& element, const char* name) {
  const char* text = element.Attribute(name);
  return text ? text : "";
}

// Stores `text` in a field of width W: at most W - 1 bytes, then a zero byte.
// Longer text is cut; the bytes after the terminator are left as they were.
template <std::size_t W>
void CopyField(char (&field)[W], const char* text) {
  static_assert(W > 0, "a field holds at least its terminator");
  const std::size_t length = ::strnlen(text, W - 1);
  std::memcpy(field, text, length);
  field[length] = '\0';
}

// The text a field holds, up to its terminator; a field without one (filled
// by a caller) ends at its width.
template <std::size_t W>
std::string FieldText(const char (&field)[W]) {
  return std::string(field, ::strnlen(field, W));
}

// Decimal conversion as atoi does it: leading white space, an optional sign,
// then digits up to the first other character; no digits gives 0. Values
// beyond the 32-bit range saturate at its limits.
struct DecimalReading {
  std::int32_t value;
  bool digits;       // any digit was read
  bool saturated;    // the digits said more than 32 bits hold
  const char* rest;  // the text after the digits
};
DecimalReading ReadDecimal(const char* text);
inline std::int32_t Decimal(const char* text) {
  return ReadDecimal(text).value;
}

// The low 16 bits, as a signed 16-bit field stores them (70000 -> 4464).
inline std::int16_t Low16(std::int32_t value) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

// The low 16 bits, zero-extended into a 32-bit field (-1 -> 65535).
inline std::int32_t Low16ZeroExtended(std::int32_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint16_t>(value));
}

// A staging record with every byte zero.
template <typename Record>
Record Cleared() {
  static_assert(std::is_trivially_copyable<Record>::value, "records are plain bytes");
  Record record;
  std::memset(static_cast<void*>(&record), 0, sizeof record);
  return record;
}

// The values of one element as its record's fields take them: each call
// takes an attribute's text and stores it by the rules above. With an
// observer, every value stored otherwise than written is reported.
class Fields {
 public:
  Fields(const TiXmlElement& element, Observer* observer)
      : element_(element), observer_(observer) {}

  template <std::size_t W>
  void Text(char (&field)[W], const char* name) const {
    const char* text = element_.Attribute(name);
    CopyField(field, text ? text : "");
    if (observer_) observer_->Text(element_, name, text, W);
  }
  // The whole text, for a value that no field bounds; absent: "".
  const char* Value(const char* name) const {
    const char* text = element_.Attribute(name);
    if (!text && observer_) observer_->Text(element_, name, nullptr, 0);
    return text ? text : "";
  }
  std::int32_t Number(const char* name) const { return Decimal(Observed(name, NumberField::k32)); }
  std::int16_t Number16(const char* name) const {
    return Low16(Decimal(Observed(name, NumberField::k16)));
  }
  std::int32_t Number16ZeroExtended(const char* name) const {
    return Low16ZeroExtended(Decimal(Observed(name, NumberField::k16ZeroExtended)));
  }

 private:
  const char* Observed(const char* name, NumberField field) const {
    const char* text = element_.Attribute(name);
    if (observer_) observer_->Number(element_, name, text, field);
    return text ? text : "";
  }

  const TiXmlElement& element_;
  Observer* observer_;
};

}  // namespace talvoro

#endif  // TALVORO_READ_FIELDS_H_

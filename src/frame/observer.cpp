#include "frame/observer.h"

#include <cstring>
#include <string>

#include "frame/fields.h"

namespace talvoro {
namespace {

Finding About(FindingKind kind, const TiXmlElement& element, const char* what) {
  Finding finding{};
  finding.kind = kind;
  finding.line = element.Row();
  finding.column = element.Column();
  finding.element = element.Value();
  finding.attribute = what;
  finding.written = "";
  finding.stored = "";
  return finding;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (Lower(*a) != Lower(*b)) return false;
  }
  return *a == *b;
}

// An absent attribute that is there in another case: reported, and true.
bool ObserveCase(Observer& observer, const TiXmlElement& element, const char* name) {
  for (const TiXmlAttribute* a = element.FirstAttribute(); a; a = a->Next()) {
    if (SameIgnoringCase(a->Name(), name)) {
      Finding finding = About(FindingKind::kNameCase, element, name);
      finding.written = a->Name();
      observer.Report(finding);
      return true;
    }
  }
  return false;
}

}  // namespace

void ObserveText(Observer& observer, const TiXmlElement& element, const char* what,
                 const char* written, std::size_t width) {
  if (!written) {
    ObserveCase(observer, element, what);
    return;
  }
  const std::size_t length = std::strlen(written);
  if (length < width) return;
  const std::string stored(written, width - 1);
  Finding finding = About(FindingKind::kTextCut, element, what);
  finding.written = written;
  finding.stored = stored.c_str();
  finding.width = static_cast<int>(width);
  finding.lost = static_cast<int>(length - (width - 1));
  observer.Report(finding);
}

void ObserveNumber(Observer& observer, const TiXmlElement& element, const char* what,
                   const char* written, NumberField field) {
  if (!written) {
    if (ObserveCase(observer, element, what)) return;
    Finding finding = About(FindingKind::kNumberAbsent, element, what);
    finding.stored = "0";
    finding.width = field == NumberField::k32 ? 32 : 16;
    observer.Report(finding);
    return;
  }
  const DecimalReading reading = ReadDecimal(written);
  std::int32_t stored = reading.value;
  if (field == NumberField::k16) stored = Low16(stored);
  if (field == NumberField::k16ZeroExtended) stored = Low16ZeroExtended(stored);
  const std::string storedText = std::to_string(stored);
  Finding finding = About(FindingKind::kNarrowed, element, what);
  finding.written = written;
  finding.stored = storedText.c_str();
  finding.width = field == NumberField::k32 ? 32 : 16;
  if (!reading.digits) {
    finding.kind = FindingKind::kNotANumber;
  } else if (reading.saturated) {
    finding.kind = FindingKind::kSaturated;
  } else if (stored != reading.value) {
    finding.kind = FindingKind::kNarrowed;
  } else if (*reading.rest) {
    finding.kind = FindingKind::kTrailingText;
  } else {
    return;
  }
  observer.Report(finding);
}

void ObserveMissing(Observer& observer, const TiXmlElement& parent, const char* name) {
  Finding finding = About(FindingKind::kEntryMissing, parent, name);
  observer.Report(finding);
}

void ObservePassedOver(Observer& observer, const TiXmlElement& element, const char* why) {
  Finding finding = About(FindingKind::kPassedOver, element, "");
  finding.written = why;
  observer.Report(finding);
}

}  // namespace talvoro

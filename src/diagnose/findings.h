// The diagnosis: what the values a reader takes and the elements it passes
// over mean for the person who wrote the document. Handed to a reader as its
// observer, it keeps a finding for every value stored otherwise than written
// (cut, narrowed, saturated, not a number, spelt in another case, bytes that
// are no text in the document's encoding, a text cut inside a character) and
// every element passed over or missing, and hands them out in document order.
#ifndef TALVORO_DIAGNOSE_FINDINGS_H_
#define TALVORO_DIAGNOSE_FINDINGS_H_

#include <memory>
#include <string>
#include <vector>

#include "os/env.h"
#include "read/observer.h"
#include "talvoro/diagnose.h"

namespace talvoro {

class Findings final : public Observer {
 public:
  void Loaded(const XmlDocument& doc) override;
  void Text(const TiXmlElement& element, const char* what, const char* written,
            std::size_t width) override;
  void Number(const TiXmlElement& element, const char* what, const char* written,
              NumberField field) override;
  void Missing(const TiXmlElement& parent, const char* name) override;
  void PassedOver(const TiXmlElement& element, const char* why) override;

  // Hands the findings out in document order, by the place of their
  // element, and for one element in the order the reader met them.
  void HandOut(FindingCallback callback, void* context);

 private:
  struct Kept {
    Finding finding;
    std::string element, attribute, written, stored;
  };
  void Report(const Finding& finding);
  bool NameCase(const TiXmlElement& element, const char* name);
  void Characters(const TiXmlElement& element, const char* what, const char* written,
                  std::size_t length);
  std::size_t TakenAsOne(const char* text, std::size_t size) const;

  // The character set of the document's text; null when the system does not
  // know it. `tinyXmlUtf8_`: TinyXML reads the text as UTF-8, a lead byte
  // taking the bytes after it along.
  std::unique_ptr<Charset> charset_;
  bool tinyXmlUtf8_ = false;
  std::vector<Kept> kept_;
};

}  // namespace talvoro

#endif  // TALVORO_DIAGNOSE_FINDINGS_H_

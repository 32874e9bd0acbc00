// The version stamp: two attributes of the document element, delivered whole.
#include "api/binding.h"

namespace talvoro {

template <class Text>
Status ReadVersion(const Document& doc, const TiXmlElement& root, Text& version, Text& updateTime) {
  doc.NothingReadBelow(root);
  // Both values are copied before either output changes, so a failed copy
  // leaves the caller's strings as they were. The update time is assigned
  // last: one string passed for both ends up holding it.
  const Fields in = doc.Fields(root);
  CString readVersion(in.Value("version"));
  CString readUpdateTime(in.Value("updatetime"));
  version = readVersion;
  updateTime = readUpdateTime;
  return Status::Ok();
}

TALVORO_DOCUMENT(kVersion, ReadVersion)

}  // namespace talvoro

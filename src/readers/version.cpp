// The version stamp: two attributes of the document element, delivered whole.
#include "frame/documents.h"

namespace talvoro {

Status ReadVersion(const Document& doc, const TiXmlElement& root, CString& version,
                   CString& updateTime) {
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

}  // namespace talvoro

// The version stamp: two attributes of the document element, delivered whole.
#include "frame/documents.h"

namespace talvoro {

Status ReadVersion(Document& doc, const char* path, CString& version, CString& updateTime) {
  const TiXmlElement* root = doc.Load(path);
  if (!root) return doc.status();
  doc.Leaf(*root);
  // Both values are copied before either output changes, so a failed copy
  // leaves the caller's strings as they were. The update time is assigned
  // last: one string passed for both ends up holding it.
  const Fields in = doc.Fields(*root);
  CString readVersion(in.Value("version"));
  CString readUpdateTime(in.Value("updatetime"));
  version = readVersion;
  updateTime = readUpdateTime;
  return Status::Ok();
}

}  // namespace talvoro

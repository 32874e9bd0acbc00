// The version stamp: two attributes of the document element, delivered whole.
#include "frame/document.h"
#include "frame/fields.h"
#include "talvoro/helper.h"

using namespace talvoro;

bool CTinyXmlHelper::GeVersion(CString path, CString& version, CString& updateTime) {
  Document doc;
  const TiXmlElement* root = doc.Load(path);
  if (!root) return false;
  // Both values are copied before either output changes, so a failed copy
  // leaves the caller's strings as they were. The update time is assigned
  // last: one string passed for both ends up holding it.
  CString readVersion(Attr(*root, "version"));
  CString readUpdateTime(Attr(*root, "updatetime"));
  version = readVersion;
  updateTime = readUpdateTime;
  return true;
}

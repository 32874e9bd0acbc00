// The server service list: one record per child element of the document
// element, whatever its name. "run" is stored as it converts, not as a flag.
#include "frame/document.h"
#include "frame/fields.h"
#include "frame/walk.h"
#include "talvoro/helper.h"

using namespace talvoro;

bool CTinyXmlHelper::GetSrvServiceData(CList<tagSrvService, const tagSrvService&>& list,
                                       CString path) {
  Document doc;
  const TiXmlElement* root = doc.Load(path);
  if (!root) return false;
  for (const TiXmlElement& serviceElement : ChildElements(*root)) {
    auto service = Cleared<tagSrvService>();
    service.id = Decimal(Attr(serviceElement, "id"));
    CopyField(service.serviceName, Attr(serviceElement, "serviceName"));
    CopyField(service.sink, Attr(serviceElement, "sink"));
    service.run = Decimal(Attr(serviceElement, "run"));
    list.AddTail(service);
  }
  return true;
}

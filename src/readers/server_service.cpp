// The server service list: one record per child element of the document
// element, whatever its name. "run" is stored as it converts, not as a flag.
#include "frame/documents.h"

namespace talvoro {

Status ReadServerServices(const Document& doc, const TiXmlElement& root,
                          CList<tagSrvService, const tagSrvService&>& list) {
  for (const TiXmlElement& serviceElement : doc.LastLevel(root)) {
    const Fields in = doc.Fields(serviceElement);
    auto service = Cleared<tagSrvService>();
    service.id = in.Number("id");
    in.Text(service.serviceName, "serviceName");
    in.Text(service.sink, "sink");
    service.run = in.Number("run");
    list.AddTail(service);
  }
  return Status::Ok();
}

}  // namespace talvoro

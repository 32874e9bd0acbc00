// The server service list: one record per child element of the document
// element, whatever its name. "run" is stored as it converts, not as a flag.
#include "api/binding.h"

namespace talvoro {

template <class List>
Status ReadServerServices(const Document& doc, const TiXmlElement& root, List& list) {
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

TALVORO_DOCUMENT(kServerServices, ReadServerServices)

}  // namespace talvoro

// The server list: one record per child element of the document element,
// whatever its name. The port stays text, as the document writes it.
#include "api/binding.h"

namespace talvoro {

template <class List>
Status ReadServerList(const Document& doc, const TiXmlElement& root, List& list) {
  for (const TiXmlElement& serverElement : doc.LastLevel(root)) {
    const Fields in = doc.Fields(serverElement);
    auto server = Cleared<tagSrvData>();
    server.id = in.Number16("id");
    in.Text(server.serverName, "serverName");
    in.Text(server.ip, "ip");
    in.Text(server.port, "port");
    list.AddTail(server);
  }
  return Status::Ok();
}

TALVORO_DOCUMENT(kServers, ReadServerList)

}  // namespace talvoro

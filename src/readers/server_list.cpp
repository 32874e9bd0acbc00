// The server list: one record per child element of the document element,
// whatever its name. The port stays text, as the document writes it.
#include "frame/documents.h"

namespace talvoro {

Status ReadServerList(Document& doc, const char* path, CList<tagSrvData, const tagSrvData&>& list) {
  const TiXmlElement* root = doc.Load(path);
  if (!root) return doc.status();
  for (const TiXmlElement& serverElement : doc.Leaves(*root)) {
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

}  // namespace talvoro

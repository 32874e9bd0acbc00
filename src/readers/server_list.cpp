// The server list: one record per child element of the document element,
// whatever its name. The port stays text, as the document writes it.
#include "frame/document.h"
#include "frame/fields.h"
#include "frame/walk.h"
#include "talvoro/helper.h"

using namespace talvoro;

bool CTinyXmlHelper::GetSrvData(CList<tagSrvData, const tagSrvData&>& list, CString path) {
  Document doc;
  const TiXmlElement* root = doc.Load(path);
  if (!root) return false;
  for (const TiXmlElement& serverElement : ChildElements(*root)) {
    auto server = Cleared<tagSrvData>();
    server.id = Low16(Decimal(Attr(serverElement, "id")));
    CopyField(server.serverName, Attr(serverElement, "serverName"));
    CopyField(server.ip, Attr(serverElement, "ip"));
    CopyField(server.port, Attr(serverElement, "port"));
    list.AddTail(server);
  }
  return true;
}

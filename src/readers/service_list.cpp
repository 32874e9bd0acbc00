// The service list: types, the kinds of each type and the servers of each
// kind, walked by position whatever the element names, flattened into three
// arrays. A record is appended after the records of its children, and a lower
// level carries the identifiers of the level above it. The elements of each
// level are counted first, so that each array grows only once (frame/growth.h).
#include "frame/document.h"
#include "frame/fields.h"
#include "frame/growth.h"
#include "frame/walk.h"
#include "talvoro/helper.h"

using namespace talvoro;

bool CTinyXmlHelper::GetServiceData(tagServerListInfo& info, CString path) {
  Document doc;
  const TiXmlElement* root = doc.Load(path);
  if (!root) return false;
  std::size_t types = 0, kinds = 0, servers = 0;
  for (const TiXmlElement& typeElement : ChildElements(*root)) {
    ++types;
    for (const TiXmlElement& kindElement : ChildElements(typeElement)) {
      ++kinds;
      servers += Count(ChildElements(kindElement));
    }
  }
  GrowFor(Appends{info.types, types}, Appends{info.kinds, kinds}, Appends{info.servers, servers});

  for (const TiXmlElement& typeElement : ChildElements(*root)) {
    auto type = Cleared<tagServiceTypeInfo>();
    type.id = Low16(Decimal(Attr(typeElement, "id")));
    type.depend = Low16(Decimal(Attr(typeElement, "depend")));
    CopyField(type.typeName, Attr(typeElement, "typeName"));

    for (const TiXmlElement& kindElement : ChildElements(typeElement)) {
      auto kind = Cleared<tagServiceKindInfo>();
      kind.typeId = type.id;
      kind.id = Low16(Decimal(Attr(kindElement, "id")));
      kind.depend = Low16(Decimal(Attr(kindElement, "depend")));
      kind.version = Low16ZeroExtended(Decimal(Attr(kindElement, "version")));
      CopyField(kind.kindName, Attr(kindElement, "kindName"));
      CopyField(kind.processName, Attr(kindElement, "processName"));
      CopyField(kind.zipName, Attr(kindElement, "zipName"));
      CopyField(kind.unzipDir, Attr(kindElement, "UnzipDir"));
      CopyField(kind.selfstock, Attr(kindElement, "selfstock"));

      for (const TiXmlElement& serverElement : ChildElements(kindElement)) {
        auto server = Cleared<tagServiceServerInfo>();
        server.kindId = kind.id;
        server.kindDepend = kind.depend;
        server.id = Low16(Decimal(Attr(serverElement, "id")));
        CopyField(server.port, Attr(serverElement, "port"));
        CopyField(server.ip, Attr(serverElement, "ip"));
        CopyField(server.serverName, Attr(serverElement, "serverName"));
        info.servers.Add(server);
      }
      info.kinds.Add(kind);
    }
    info.types.Add(type);
  }
  return true;
}

// The service list: types, the kinds of each type and the servers of each
// kind, walked by position whatever the element names, flattened into three
// arrays. A record is appended after the records of its children, and a lower
// level carries the identifiers of the level above it. The elements of each
// level are counted first, so that each array grows only once.
#include "api/binding.h"
#include "read/growth.h"

namespace talvoro {

template <class Info>
Status ReadServiceList(const Document& doc, const TiXmlElement& root, Info& info) {
  std::size_t types = 0, kinds = 0, servers = 0;
  for (const TiXmlElement& typeElement : ChildElements(root)) {
    ++types;
    for (const TiXmlElement& kindElement : ChildElements(typeElement)) {
      ++kinds;
      servers += Count(ChildElements(kindElement));
    }
  }
  GrowFor(Appends{info.types, types}, Appends{info.kinds, kinds}, Appends{info.servers, servers});

  for (const TiXmlElement& typeElement : doc.Children(root)) {
    const Fields typeIn = doc.Fields(typeElement);
    auto type = Cleared<tagServiceTypeInfo>();
    type.id = typeIn.Number16("id");
    type.depend = typeIn.Number16("depend");
    typeIn.Text(type.typeName, "typeName");

    for (const TiXmlElement& kindElement : doc.Children(typeElement)) {
      const Fields kindIn = doc.Fields(kindElement);
      auto kind = Cleared<tagServiceKindInfo>();
      kind.typeId = type.id;
      kind.id = kindIn.Number16("id");
      kind.depend = kindIn.Number16("depend");
      kind.version = kindIn.Number16ZeroExtended("version");
      kindIn.Text(kind.kindName, "kindName");
      kindIn.Text(kind.processName, "processName");
      kindIn.Text(kind.zipName, "zipName");
      kindIn.Text(kind.unzipDir, "UnzipDir");
      kindIn.Text(kind.selfstock, "selfstock");

      for (const TiXmlElement& serverElement : doc.LastLevel(kindElement)) {
        const Fields serverIn = doc.Fields(serverElement);
        auto server = Cleared<tagServiceServerInfo>();
        server.kindId = kind.id;
        server.kindDepend = kind.depend;
        server.id = serverIn.Number16("id");
        serverIn.Text(server.port, "port");
        serverIn.Text(server.ip, "ip");
        serverIn.Text(server.serverName, "serverName");
        info.servers.Add(server);
      }
      info.kinds.Add(kind);
    }
    info.types.Add(type);
  }
  return Status::Ok();
}

TALVORO_DOCUMENT(kServices, ReadServiceList)

}  // namespace talvoro

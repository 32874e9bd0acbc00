// Reads a service list through an installed Talvoro and prints its servers.
#include <cstdio>

#include <talvoro/talvoro.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: consumer SERVICE_LIST\n");
    return 2;
  }
  tagServerListInfo info;
  if (!CTinyXmlHelper::GetServiceData(info, argv[1])) {
    std::fprintf(stderr, "consumer: cannot read %s\n", argv[1]);
    return 1;
  }
  std::printf("talvoro %s: %d types, %d kinds, %d servers\n", TALVORO_VERSION_STRING,
              info.types.GetCount(), info.kinds.GetCount(), info.servers.GetCount());
  for (int i = 0; i < info.servers.GetCount(); ++i) {
    const tagServiceServerInfo& server = info.servers[i];
    std::printf("  kind %d: %s at %s:%s\n", server.kindId, server.serverName, server.ip, server.port);
  }
  return 0;
}

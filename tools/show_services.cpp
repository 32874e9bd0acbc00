#include "inspector.h"

namespace inspector {
namespace {

Json TypeJson(const tagServiceTypeInfo& r) {
  return {{"id", r.id}, {"depend", r.depend}, {"typeName", Text(r.typeName)}};
}

Json KindJson(const tagServiceKindInfo& r) {
  return {{"typeId", r.typeId},
          {"id", r.id},
          {"depend", r.depend},
          {"version", r.version},
          {"kindName", Text(r.kindName)},
          {"processName", Text(r.processName)},
          {"zipName", Text(r.zipName)},
          {"unzipDir", Text(r.unzipDir)},
          {"selfstock", Text(r.selfstock)}};
}

Json ServerJson(const tagServiceServerInfo& r) {
  return {{"kindId", r.kindId},   {"kindDepend", r.kindDepend}, {"id", r.id},
          {"port", Text(r.port)}, {"ip", Text(r.ip)},           {"serverName", Text(r.serverName)}};
}

}  // namespace

std::vector<KindReader> ServiceKinds() {
  return {{talvoro::DocumentKind::kServices, [](const CString& path, Json& out) {
             tagServerListInfo info;
             if (!CTinyXmlHelper::GetServiceData(info, path)) return false;
             out = {{"types", ToJsonArray(info.types, TypeJson)},
                    {"kinds", ToJsonArray(info.kinds, KindJson)},
                    {"servers", ToJsonArray(info.servers, ServerJson)}};
             return true;
           }}};
}

}  // namespace inspector

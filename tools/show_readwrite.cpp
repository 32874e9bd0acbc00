#include "inspector.h"

namespace inspector {
namespace {

Json SoftJson(const tagSoftData& r) {
  return {{"id", r.id},
          {"depend", r.depend},
          {"version", r.version},
          {"kindName", Text(r.kindName)},
          {"processName", Text(r.processName)},
          {"zipName", Text(r.zipName)},
          {"unzipDir", Text(r.unzipDir)}};
}

Json ShortcutJson(const tagShortCutInfo& r) {
  return {{"file", Text(r.file)}};
}

Json UpdateJson(const tagUpdateData& r) {
  return {{"file", Text(r.file)}, {"check", Text(r.check)}};
}

}  // namespace

std::vector<KindReader> ReadWriteKinds() {
  return {{talvoro::DocumentKind::kSoftware,
           [](const CString& path, Json& out) {
             CList<tagSoftData, const tagSoftData&> list;
             if (!CTinyXmlHelper::GetSoftData(list, path)) return false;
             out = {{"components", ToJsonArray(list, SoftJson)}};
             return true;
           }},
          {talvoro::DocumentKind::kShortcuts,
           [](const CString& path, Json& out) {
             CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> array;
             if (!CTinyXmlHelper::GetShutCutInfo(array, path)) return false;
             out = {{"shortcuts", ToJsonArray(array, ShortcutJson)}};
             return true;
           }},
          {talvoro::DocumentKind::kUpdates, [](const CString& path, Json& out) {
             CList<tagUpdateData, const tagUpdateData&> list;
             if (!CTinyXmlHelper::GetUpdateData(list, path)) return false;
             out = {{"updates", ToJsonArray(list, UpdateJson)}};
             return true;
           }}};
}

}  // namespace inspector

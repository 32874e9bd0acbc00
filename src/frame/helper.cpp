// The exported class: every member in this one file, so that the class and
// all of its functions are described together in the library's debugging
// information, which the ABI check reads. Each member runs its document's
// code, written once under src/readers and src/readwrite, and turns the
// reason into the bool the host expects.
#include "talvoro/helper.h"

#include "frame/documents.h"
#include "frame/env.h"
#include "talvoro/diagnose.h"

namespace {

// Runs a document's reader with the system's file layer and no observer.
template <typename... Containers>
bool Read(talvoro::Status (*reader)(const talvoro::Document&, const TiXmlElement&, Containers&...),
          const char* path, Containers&... containers) {
  talvoro::Document doc;
  return talvoro::ReadDocument(doc, path, reader, containers...).ok();
}

}  // namespace

// The class has no state: construction, copy and destruction do nothing. They
// are defined here so that the class's virtual table lives in the library.
CTinyXmlHelper::CTinyXmlHelper() = default;
CTinyXmlHelper::CTinyXmlHelper(const CTinyXmlHelper&) = default;
CTinyXmlHelper& CTinyXmlHelper::operator=(const CTinyXmlHelper&) = default;
CTinyXmlHelper::~CTinyXmlHelper() = default;

bool CTinyXmlHelper::IsFileExist(const char* path) {
  return talvoro::Env::Default().PathExists(path);
}

bool CTinyXmlHelper::GetServiceData(tagServerListInfo& info, CString path) {
  return Read(talvoro::ReadServiceList, path, info);
}

bool CTinyXmlHelper::GetPartData(tagPartListInfo& info, CString path) {
  return Read(talvoro::ReadPartList, path, info);
}

bool CTinyXmlHelper::GetWeatherData(tagWeatherData& weather, CString path) {
  return Read(talvoro::ReadWeather, path, weather);
}

bool CTinyXmlHelper::GetAreaData(tagZoneAreaArray& info, CString path) {
  return Read(talvoro::ReadZoneAreas, path, info);
}

bool CTinyXmlHelper::GetSrvData(CList<tagSrvData, const tagSrvData&>& list, CString path) {
  return Read(talvoro::ReadServerList, path, list);
}

bool CTinyXmlHelper::GetSrvServiceData(CList<tagSrvService, const tagSrvService&>& list,
                                       CString path) {
  return Read(talvoro::ReadServerServices, path, list);
}

bool CTinyXmlHelper::GeVersion(CString path, CString& version, CString& updateTime) {
  return Read(talvoro::ReadVersion, path, version, updateTime);
}

bool CTinyXmlHelper::GetSoftData(CList<tagSoftData, const tagSoftData&>& list, CString path) {
  return Read(talvoro::ReadSoftware, path, list);
}

bool CTinyXmlHelper::SetSoftVersion(tagSoftData& soft, CString path) {
  return talvoro::SetSoftVersion(soft, path, nullptr);
}

bool CTinyXmlHelper::GetUpdateData(CList<tagUpdateData, const tagUpdateData&>& list, CString path) {
  return Read(talvoro::ReadUpdates, path, list);
}

bool CTinyXmlHelper::WrittingUpdateFile(CString path,
                                        CList<tagUpdateData, const tagUpdateData&>& list) {
  return talvoro::SaveUpdates(talvoro::Env::Default(), path, list).ok();
}

bool CTinyXmlHelper::GetShutCutInfo(CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&>& array,
                                    CString path) {
  return Read(talvoro::ReadShortcuts, path, array);
}

bool CTinyXmlHelper::WrittingShutCutInfo(
    CString path, CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&>& array) {
  return talvoro::WriteShortcuts(path, array.GetData(), array.GetCount(), nullptr);
}

bool CTinyXmlHelper::DeleteShutCutInfo(CString path, tagShortCutInfo& shortcut) {
  return talvoro::DeleteShortcut(path, shortcut, nullptr);
}

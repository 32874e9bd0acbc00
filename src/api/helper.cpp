// The exported class: every member in this one file, so that the class and
// all of its functions are described together in the library's debugging
// information, which the ABI check reads. Each reader runs the document's
// reader that the registry names for it (api/binding.h); each writer the
// writer's work (api/writers.h); each turns the reason into the bool the host
// expects.
#include "talvoro/helper.h"

#include "api/binding.h"
#include "api/writers.h"
#include "os/env.h"

namespace talvoro {
namespace {

// Runs the reader of the document that `member` reads, with the system's
// file layer and no observer, into the member's own containers.
template <auto member, class... Containers>
bool Read(const CString& path, Containers&... containers) {
  constexpr DocumentKind kind = KindOf<member>();
  static_assert(static_cast<int>(kind) >= 0, "a reader that the registry names");
  static_assert((std::is_same_v<Containers, typename Faces<kind>::Container> && ...),
                "the member's own containers");
  void* const erased[] = {&containers...};
  Document doc;
  return BindingOf<kind>().exported(doc, path, erased).ok();
}

}  // namespace
}  // namespace talvoro

using talvoro::Read;

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
  return Read<&GetServiceData>(path, info);
}

bool CTinyXmlHelper::GetPartData(tagPartListInfo& info, CString path) {
  return Read<&GetPartData>(path, info);
}

bool CTinyXmlHelper::GetWeatherData(tagWeatherData& weather, CString path) {
  return Read<&GetWeatherData>(path, weather);
}

bool CTinyXmlHelper::GetAreaData(tagZoneAreaArray& info, CString path) {
  return Read<&GetAreaData>(path, info);
}

bool CTinyXmlHelper::GetSrvData(CList<tagSrvData, const tagSrvData&>& list, CString path) {
  return Read<&GetSrvData>(path, list);
}

bool CTinyXmlHelper::GetSrvServiceData(CList<tagSrvService, const tagSrvService&>& list,
                                       CString path) {
  return Read<&GetSrvServiceData>(path, list);
}

bool CTinyXmlHelper::GeVersion(CString path, CString& version, CString& updateTime) {
  return Read<&GeVersion>(path, version, updateTime);
}

bool CTinyXmlHelper::GetSoftData(CList<tagSoftData, const tagSoftData&>& list, CString path) {
  return Read<&GetSoftData>(path, list);
}

bool CTinyXmlHelper::SetSoftVersion(tagSoftData& soft, CString path) {
  return talvoro::SaveSoftVersion(talvoro::Env::Default(), &soft, path, nullptr).ok();
}

bool CTinyXmlHelper::GetUpdateData(CList<tagUpdateData, const tagUpdateData&>& list, CString path) {
  return Read<&GetUpdateData>(path, list);
}

bool CTinyXmlHelper::WrittingUpdateFile(CString path,
                                        CList<tagUpdateData, const tagUpdateData&>& list) {
  return talvoro::SaveUpdates(talvoro::Env::Default(), path, list).ok();
}

bool CTinyXmlHelper::GetShutCutInfo(CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&>& array,
                                    CString path) {
  return Read<&GetShutCutInfo>(path, array);
}

bool CTinyXmlHelper::WrittingShutCutInfo(
    CString path, CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&>& array) {
  return talvoro::SaveShortcuts(talvoro::Env::Default(), path, array.GetData(), array.GetCount())
      .ok();
}

bool CTinyXmlHelper::DeleteShutCutInfo(CString path, tagShortCutInfo& shortcut) {
  return talvoro::SaveWithoutShortcut(talvoro::Env::Default(), path, &shortcut, nullptr).ok();
}

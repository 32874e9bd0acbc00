// Every document's reader as a function of a Document, written once: the
// exported functions run it with the system's file layer and no observer, the
// diagnosis with an observer and containers of its own. Each returns why it
// refused the document, or success. The writers that take the host's
// containers are here too; the others are those of talvoro/diagnose.h.
#ifndef TALVORO_FRAME_DOCUMENTS_H_
#define TALVORO_FRAME_DOCUMENTS_H_

#include "frame/document.h"
#include "talvoro/records.h"

namespace talvoro {

Status ReadServiceList(Document& doc, const char* path, tagServerListInfo& info);
Status ReadPartList(Document& doc, const char* path, tagPartListInfo& info);
Status ReadZoneAreas(Document& doc, const char* path, tagZoneAreaArray& info);
Status ReadWeather(Document& doc, const char* path, tagWeatherData& weather);
Status ReadServerList(Document& doc, const char* path, CList<tagSrvData, const tagSrvData&>& list);
Status ReadServerServices(Document& doc, const char* path,
                          CList<tagSrvService, const tagSrvService&>& list);
Status ReadVersion(Document& doc, const char* path, CString& version, CString& updateTime);
Status ReadSoftware(Document& doc, const char* path, CList<tagSoftData, const tagSoftData&>& list);
Status ReadShortcuts(Document& doc, const char* path,
                     CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&>& array);
Status ReadUpdates(Document& doc, const char* path,
                   CList<tagUpdateData, const tagUpdateData&>& list);

// Replaces the document with the list's items, head to tail.
Status SaveUpdates(const char* path, CList<tagUpdateData, const tagUpdateData&>& list);

}  // namespace talvoro

#endif  // TALVORO_FRAME_DOCUMENTS_H_

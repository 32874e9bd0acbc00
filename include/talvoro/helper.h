// CTinyXmlHelper: the library's one exported class. Every document function is
// a static member that reads one XML configuration document into records the
// caller owns, or writes the caller's records into one.
//
// Contract shared by every document function:
//  - false means the file could not be loaded (missing, not a regular file,
//    unreadable, over 64 MiB, empty, malformed, nested too deep) or holds no
//    element; the caller's container, record or strings are then untouched,
//    and a writer that loads first has not touched the file. Writers also
//    return false when the save fails or would not keep the file whole and
//    private (several hard links, an owner the caller cannot keep); the file
//    is then exactly as it was.
//  - Readers only append, after whatever the container holds; each appended
//    record is cleared before it is filled, so it is deterministic to the byte.
//  - Text longer than its field is cut to width - 1 bytes and terminated.
//  - Container errors (CInvalidArgException, std::bad_alloc) pass to the caller;
//    records appended before them stay.
//  - Calls on different containers and files may run on different threads.
#ifndef TALVORO_HELPER_H_
#define TALVORO_HELPER_H_

#include "talvoro/array.h"
#include "talvoro/export.h"
#include "talvoro/platform.h"
#include "talvoro/records.h"

class TALVORO_API CTinyXmlHelper {
 public:
  CTinyXmlHelper();
  CTinyXmlHelper(const CTinyXmlHelper& other);
  CTinyXmlHelper& operator=(const CTinyXmlHelper& other);
  virtual ~CTinyXmlHelper();

  // True when the path names an existing file or directory. With '*' (any run
  // of characters) or '?' (any one character) in its last component, true
  // when an entry of that folder other than "." and ".." matches; on Windows
  // the system's search decides (FindFirstFileA: "." and ".." match too, and
  // names match whatever their case). Null: false.
  static bool IsFileExist(const char* path);

  static bool GetServiceData(tagServerListInfo& info, CString path);
  static bool GetPartData(tagPartListInfo& info, CString path);
  // Replaces the whole record on success; untouched on false.
  static bool GetWeatherData(tagWeatherData& weather, CString path);
  static bool GetAreaData(tagZoneAreaArray& info, CString path);
  static bool GetSrvData(CList<tagSrvData, const tagSrvData&>& list, CString path);
  static bool GetSrvServiceData(CList<tagSrvService, const tagSrvService&>& list, CString path);
  // The document element's "version" and "updatetime" (absent: empty).
  static bool GeVersion(CString path, CString& version, CString& updateTime);

  static bool GetSoftData(CList<tagSoftData, const tagSoftData&>& list, CString path);
  // Writes soft.version into every component whose "id" matches soft.id in its
  // low 16 bits, then saves the document back.
  static bool SetSoftVersion(tagSoftData& soft, CString path);

  static bool GetUpdateData(CList<tagUpdateData, const tagUpdateData&>& list, CString path);
  // Replaces the file with a new document holding the list from head to tail.
  static bool WrittingUpdateFile(CString path, CList<tagUpdateData, const tagUpdateData&>& list);

  static bool GetShutCutInfo(CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&>& array,
                             CString path);
  // Replaces the file with a new document holding the array in index order.
  static bool WrittingShutCutInfo(CString path,
                                  CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&>& array);
  // Removes the first "item" whose "file" equals shortcut.file exactly, then
  // saves the document back; no match is not a failure.
  static bool DeleteShutCutInfo(CString path, tagShortCutInfo& shortcut);
};

#endif  // TALVORO_HELPER_H_

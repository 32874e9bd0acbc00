// The records that the document functions fill and write: the element
// records (talvoro/elements.h, shared with C hosts, every layout pinned) and
// the records that hold several arrays of them. Each is a plain aggregate
// copied byte for byte by the host.
#ifndef TALVORO_RECORDS_H_
#define TALVORO_RECORDS_H_

#include "talvoro/array.h"
#include "talvoro/elements.h"

// --- Service list --------------------------------------------------------

struct tagServerListInfo {
  CArrayTemplate<tagServiceTypeInfo, const tagServiceTypeInfo&> types;
  CArrayTemplate<tagServiceKindInfo, const tagServiceKindInfo&> kinds;
  CArrayTemplate<tagServiceServerInfo, const tagServiceServerInfo&> servers;
};

// --- Part list -----------------------------------------------------------

struct tagPartListInfo {
  CArrayTemplate<tagPartInfo, const tagPartInfo&> parts;
  CArrayTemplate<tagSubPartInfo, const tagSubPartInfo&> subParts;
};

// --- Zone areas ----------------------------------------------------------

struct tagZoneAreaArray {
  CArrayTemplate<tagZoneInfo, const tagZoneInfo&> zones;
  CArrayTemplate<tagAreaInfo, const tagAreaInfo&> areas;
};

#endif  // TALVORO_RECORDS_H_

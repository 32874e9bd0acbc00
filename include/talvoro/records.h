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

// --- Layouts ---------------------------------------------------------------

// The array object as hosts share it: a leading pointer-sized word (its
// virtual destructor's table), the block's pointer, then capacity, growBy and
// size, 32-bit each: 32 bytes on 64-bit targets (4 of them padding at the
// end), 20 on 32-bit ones. The records of arrays hold nothing else.
static_assert(sizeof(CArrayTemplate<tagZoneInfo, const tagZoneInfo&>) ==
                  (sizeof(void*) == 8 ? 32 : 20),
              "CArrayTemplate size");
static_assert(alignof(CArrayTemplate<tagZoneInfo, const tagZoneInfo&>) == sizeof(void*),
              "CArrayTemplate alignment");
static_assert(sizeof(tagServerListInfo) == 3 * (sizeof(void*) == 8 ? 32 : 20),
              "tagServerListInfo size");
static_assert(sizeof(tagPartListInfo) == 2 * (sizeof(void*) == 8 ? 32 : 20),
              "tagPartListInfo size");
static_assert(sizeof(tagZoneAreaArray) == 2 * (sizeof(void*) == 8 ? 32 : 20),
              "tagZoneAreaArray size");

#endif  // TALVORO_RECORDS_H_

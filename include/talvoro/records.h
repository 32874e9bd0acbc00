// The fixed-width records that the document functions fill and write. Each is
// a plain aggregate copied byte for byte by the host, so every size and field
// offset is pinned below: a layout change fails to compile.
//
// Text fields hold at most width - 1 bytes and a terminating zero byte.
// Fields named spare, reserved or reservedBytes are never set by the library
// and are zero in every record it appends.
#ifndef TALVORO_RECORDS_H_
#define TALVORO_RECORDS_H_

#include <cstddef>
#include <cstdint>

#include "talvoro/array.h"

// --- Service list --------------------------------------------------------

struct tagServiceTypeInfo {
  std::int16_t spare;
  std::int16_t id;
  std::int16_t depend;
  char typeName[32];
};

struct tagServiceKindInfo {
  std::int16_t spare;
  std::int16_t typeId;
  std::int16_t id;
  std::int16_t depend;
  std::int32_t version;  // the low 16 bits of "version", zero-extended
  std::int32_t reserved;
  char kindName[32];
  char processName[32];
  char zipName[32];
  char unzipDir[32];
  char selfstock[260];
};

struct tagServiceServerInfo {
  std::int16_t spare;
  std::int16_t kindId;
  std::int16_t kindDepend;
  std::int16_t id;
  char port[260];
  char ip[260];
  std::int32_t reserved;
  char serverName[32];
};

struct tagServerListInfo {
  CArrayTemplate<tagServiceTypeInfo, const tagServiceTypeInfo&> types;
  CArrayTemplate<tagServiceKindInfo, const tagServiceKindInfo&> kinds;
  CArrayTemplate<tagServiceServerInfo, const tagServiceServerInfo&> servers;
};

// --- Part list -----------------------------------------------------------

struct tagPartInfo {
  std::int32_t id;
  char name[32];
  char url[260];
  std::int32_t reserved;
};

struct tagSubPartInfo {
  std::int32_t id;
  std::int32_t parentId;
  char name[32];
  char url[260];
  std::int32_t reserved;
  std::int32_t target;
};

struct tagPartListInfo {
  CArrayTemplate<tagPartInfo, const tagPartInfo&> parts;
  CArrayTemplate<tagSubPartInfo, const tagSubPartInfo&> subParts;
};

// --- Weather -------------------------------------------------------------

struct tagForecastData {
  char dayOfWeek[10];
  char low[10];
  char high[10];
  char icon[256];
  char condition[10];
};

struct tagWeatherData {
  char reservedBytes[74];
  char tempF[10];
  char tempC[10];
  char humidity[10];
  char windCondition[32];
  tagForecastData forecasts[4];
};

// --- Zone areas ----------------------------------------------------------

struct tagZoneInfo {
  std::int16_t id;
  char name[32];
};

struct tagAreaInfo {
  std::int16_t zoneId;
  std::int16_t id;
  std::int16_t extra;
  char name[32];
};

struct tagZoneAreaArray {
  CArrayTemplate<tagZoneInfo, const tagZoneInfo&> zones;
  CArrayTemplate<tagAreaInfo, const tagAreaInfo&> areas;
};

// --- Server list and server services -------------------------------------

struct tagSrvData {
  std::int16_t id;
  char ip[32];
  char port[32];
  char serverName[32];
};

struct tagSrvService {
  std::int32_t id;
  char serviceName[32];
  char sink[32];
  std::int32_t run;
};

// --- Software components, updates and shortcuts --------------------------

struct tagSoftData {
  std::int16_t id;
  std::int16_t depend;
  char reservedBytes[8];
  std::int32_t version;
  char kindName[32];
  char processName[32];
  char zipName[32];
  char unzipDir[32];
  std::int32_t reserved;
};

struct tagUpdateData {
  char file[260];
  char check[64];
};

struct tagShortCutInfo {
  char file[260];
};

// --- Layout checks -------------------------------------------------------

#define TALVORO_FIELD_AT(record, field, offset) \
  static_assert(offsetof(record, field) == (offset), #record "::" #field " moved")

static_assert(sizeof(tagServiceTypeInfo) == 38, "tagServiceTypeInfo size");
TALVORO_FIELD_AT(tagServiceTypeInfo, spare, 0);
TALVORO_FIELD_AT(tagServiceTypeInfo, id, 2);
TALVORO_FIELD_AT(tagServiceTypeInfo, depend, 4);
TALVORO_FIELD_AT(tagServiceTypeInfo, typeName, 6);

static_assert(sizeof(tagServiceKindInfo) == 404, "tagServiceKindInfo size");
TALVORO_FIELD_AT(tagServiceKindInfo, spare, 0);
TALVORO_FIELD_AT(tagServiceKindInfo, typeId, 2);
TALVORO_FIELD_AT(tagServiceKindInfo, id, 4);
TALVORO_FIELD_AT(tagServiceKindInfo, depend, 6);
TALVORO_FIELD_AT(tagServiceKindInfo, version, 8);
TALVORO_FIELD_AT(tagServiceKindInfo, reserved, 12);
TALVORO_FIELD_AT(tagServiceKindInfo, kindName, 16);
TALVORO_FIELD_AT(tagServiceKindInfo, processName, 48);
TALVORO_FIELD_AT(tagServiceKindInfo, zipName, 80);
TALVORO_FIELD_AT(tagServiceKindInfo, unzipDir, 112);
TALVORO_FIELD_AT(tagServiceKindInfo, selfstock, 144);

static_assert(sizeof(tagServiceServerInfo) == 564, "tagServiceServerInfo size");
TALVORO_FIELD_AT(tagServiceServerInfo, spare, 0);
TALVORO_FIELD_AT(tagServiceServerInfo, kindId, 2);
TALVORO_FIELD_AT(tagServiceServerInfo, kindDepend, 4);
TALVORO_FIELD_AT(tagServiceServerInfo, id, 6);
TALVORO_FIELD_AT(tagServiceServerInfo, port, 8);
TALVORO_FIELD_AT(tagServiceServerInfo, ip, 268);
TALVORO_FIELD_AT(tagServiceServerInfo, reserved, 528);
TALVORO_FIELD_AT(tagServiceServerInfo, serverName, 532);

static_assert(sizeof(tagPartInfo) == 300, "tagPartInfo size");
TALVORO_FIELD_AT(tagPartInfo, id, 0);
TALVORO_FIELD_AT(tagPartInfo, name, 4);
TALVORO_FIELD_AT(tagPartInfo, url, 36);
TALVORO_FIELD_AT(tagPartInfo, reserved, 296);

static_assert(sizeof(tagSubPartInfo) == 308, "tagSubPartInfo size");
TALVORO_FIELD_AT(tagSubPartInfo, id, 0);
TALVORO_FIELD_AT(tagSubPartInfo, parentId, 4);
TALVORO_FIELD_AT(tagSubPartInfo, name, 8);
TALVORO_FIELD_AT(tagSubPartInfo, url, 40);
TALVORO_FIELD_AT(tagSubPartInfo, reserved, 300);
TALVORO_FIELD_AT(tagSubPartInfo, target, 304);

static_assert(sizeof(tagForecastData) == 296, "tagForecastData size");
TALVORO_FIELD_AT(tagForecastData, dayOfWeek, 0);
TALVORO_FIELD_AT(tagForecastData, low, 10);
TALVORO_FIELD_AT(tagForecastData, high, 20);
TALVORO_FIELD_AT(tagForecastData, icon, 30);
TALVORO_FIELD_AT(tagForecastData, condition, 286);

static_assert(sizeof(tagWeatherData) == 1320, "tagWeatherData size");
TALVORO_FIELD_AT(tagWeatherData, reservedBytes, 0);
TALVORO_FIELD_AT(tagWeatherData, tempF, 74);
TALVORO_FIELD_AT(tagWeatherData, tempC, 84);
TALVORO_FIELD_AT(tagWeatherData, humidity, 94);
TALVORO_FIELD_AT(tagWeatherData, windCondition, 104);
TALVORO_FIELD_AT(tagWeatherData, forecasts, 136);

static_assert(sizeof(tagZoneInfo) == 34, "tagZoneInfo size");
TALVORO_FIELD_AT(tagZoneInfo, id, 0);
TALVORO_FIELD_AT(tagZoneInfo, name, 2);

static_assert(sizeof(tagAreaInfo) == 38, "tagAreaInfo size");
TALVORO_FIELD_AT(tagAreaInfo, zoneId, 0);
TALVORO_FIELD_AT(tagAreaInfo, id, 2);
TALVORO_FIELD_AT(tagAreaInfo, extra, 4);
TALVORO_FIELD_AT(tagAreaInfo, name, 6);

static_assert(sizeof(tagSrvData) == 98, "tagSrvData size");
TALVORO_FIELD_AT(tagSrvData, id, 0);
TALVORO_FIELD_AT(tagSrvData, ip, 2);
TALVORO_FIELD_AT(tagSrvData, port, 34);
TALVORO_FIELD_AT(tagSrvData, serverName, 66);

static_assert(sizeof(tagSrvService) == 72, "tagSrvService size");
TALVORO_FIELD_AT(tagSrvService, id, 0);
TALVORO_FIELD_AT(tagSrvService, serviceName, 4);
TALVORO_FIELD_AT(tagSrvService, sink, 36);
TALVORO_FIELD_AT(tagSrvService, run, 68);

static_assert(sizeof(tagSoftData) == 148, "tagSoftData size");
TALVORO_FIELD_AT(tagSoftData, id, 0);
TALVORO_FIELD_AT(tagSoftData, depend, 2);
TALVORO_FIELD_AT(tagSoftData, reservedBytes, 4);
TALVORO_FIELD_AT(tagSoftData, version, 12);
TALVORO_FIELD_AT(tagSoftData, kindName, 16);
TALVORO_FIELD_AT(tagSoftData, processName, 48);
TALVORO_FIELD_AT(tagSoftData, zipName, 80);
TALVORO_FIELD_AT(tagSoftData, unzipDir, 112);
TALVORO_FIELD_AT(tagSoftData, reserved, 144);

static_assert(sizeof(tagUpdateData) == 324, "tagUpdateData size");
TALVORO_FIELD_AT(tagUpdateData, file, 0);
TALVORO_FIELD_AT(tagUpdateData, check, 260);

static_assert(sizeof(tagShortCutInfo) == 260, "tagShortCutInfo size");
TALVORO_FIELD_AT(tagShortCutInfo, file, 0);

#undef TALVORO_FIELD_AT

#endif  // TALVORO_RECORDS_H_

/* The element records: the plain fixed-size records that the document
   functions fill and write, field by field in their documents' order. A host
   copies them byte for byte, so every size and field offset is pinned below:
   a layout change fails to compile. The header is C as well as C++ (C99, and
   C in Microsoft's mode), so that hosts of every language share the one
   definition of each layout.

   Text fields hold at most width - 1 bytes and a terminating zero byte.
   Fields named spare, reserved or reservedBytes are never set by the library
   and are zero in every record it appends. */
#ifndef TALVORO_ELEMENTS_H_
#define TALVORO_ELEMENTS_H_

#include <stddef.h>
#include <stdint.h>

// --- Service list --------------------------------------------------------

struct tagServiceTypeInfo {
  int16_t spare;
  int16_t id;
  int16_t depend;
  char typeName[32];
};

struct tagServiceKindInfo {
  int16_t spare;
  int16_t typeId;
  int16_t id;
  int16_t depend;
  int32_t version;  // the low 16 bits of "version", zero-extended
  int32_t reserved;
  char kindName[32];
  char processName[32];
  char zipName[32];
  char unzipDir[32];
  char selfstock[260];
};

struct tagServiceServerInfo {
  int16_t spare;
  int16_t kindId;
  int16_t kindDepend;
  int16_t id;
  char port[260];
  char ip[260];
  int32_t reserved;
  char serverName[32];
};

// --- Part list -----------------------------------------------------------

struct tagPartInfo {
  int32_t id;
  char name[32];
  char url[260];
  int32_t reserved;
};

struct tagSubPartInfo {
  int32_t id;
  int32_t parentId;
  char name[32];
  char url[260];
  int32_t reserved;
  int32_t target;
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
  struct tagForecastData forecasts[4];
};

// --- Zone areas ----------------------------------------------------------

struct tagZoneInfo {
  int16_t id;
  char name[32];
};

struct tagAreaInfo {
  int16_t zoneId;
  int16_t id;
  int16_t extra;
  char name[32];
};

// --- Server list and server services -------------------------------------

struct tagSrvData {
  int16_t id;
  char ip[32];
  char port[32];
  char serverName[32];
};

struct tagSrvService {
  int32_t id;
  char serviceName[32];
  char sink[32];
  int32_t run;
};

// --- Software components, updates and shortcuts --------------------------

struct tagSoftData {
  int16_t id;
  int16_t depend;
  char reservedBytes[8];
  int32_t version;
  char kindName[32];
  char processName[32];
  char zipName[32];
  char unzipDir[32];
  int32_t reserved;
};

struct tagUpdateData {
  char file[260];
  char check[64];
};

struct tagShortCutInfo {
  char file[260];
};

/* Layout checks, at compile time in C and C++ alike. */
#if defined(__cplusplus)
#define TALVORO_PIN(condition, what) static_assert(condition, what)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define TALVORO_PIN(condition, what) _Static_assert(condition, what)
#else
#define TALVORO_PIN_NAME(line) talvoro_layout_pin_##line
#define TALVORO_PIN_AT(condition, line) typedef char TALVORO_PIN_NAME(line)[(condition) ? 1 : -1]
#define TALVORO_PIN(condition, what) TALVORO_PIN_AT(condition, __LINE__)
#endif
#define TALVORO_SIZE_IS(record, size) TALVORO_PIN(sizeof(struct record) == (size), #record " size")
#define TALVORO_FIELD_AT(record, field, offset) \
  TALVORO_PIN(offsetof(struct record, field) == (offset), #record "::" #field " moved")

TALVORO_SIZE_IS(tagServiceTypeInfo, 38);
TALVORO_FIELD_AT(tagServiceTypeInfo, spare, 0);
TALVORO_FIELD_AT(tagServiceTypeInfo, id, 2);
TALVORO_FIELD_AT(tagServiceTypeInfo, depend, 4);
TALVORO_FIELD_AT(tagServiceTypeInfo, typeName, 6);

TALVORO_SIZE_IS(tagServiceKindInfo, 404);
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

TALVORO_SIZE_IS(tagServiceServerInfo, 564);
TALVORO_FIELD_AT(tagServiceServerInfo, spare, 0);
TALVORO_FIELD_AT(tagServiceServerInfo, kindId, 2);
TALVORO_FIELD_AT(tagServiceServerInfo, kindDepend, 4);
TALVORO_FIELD_AT(tagServiceServerInfo, id, 6);
TALVORO_FIELD_AT(tagServiceServerInfo, port, 8);
TALVORO_FIELD_AT(tagServiceServerInfo, ip, 268);
TALVORO_FIELD_AT(tagServiceServerInfo, reserved, 528);
TALVORO_FIELD_AT(tagServiceServerInfo, serverName, 532);

TALVORO_SIZE_IS(tagPartInfo, 300);
TALVORO_FIELD_AT(tagPartInfo, id, 0);
TALVORO_FIELD_AT(tagPartInfo, name, 4);
TALVORO_FIELD_AT(tagPartInfo, url, 36);
TALVORO_FIELD_AT(tagPartInfo, reserved, 296);

TALVORO_SIZE_IS(tagSubPartInfo, 308);
TALVORO_FIELD_AT(tagSubPartInfo, id, 0);
TALVORO_FIELD_AT(tagSubPartInfo, parentId, 4);
TALVORO_FIELD_AT(tagSubPartInfo, name, 8);
TALVORO_FIELD_AT(tagSubPartInfo, url, 40);
TALVORO_FIELD_AT(tagSubPartInfo, reserved, 300);
TALVORO_FIELD_AT(tagSubPartInfo, target, 304);

TALVORO_SIZE_IS(tagForecastData, 296);
TALVORO_FIELD_AT(tagForecastData, dayOfWeek, 0);
TALVORO_FIELD_AT(tagForecastData, low, 10);
TALVORO_FIELD_AT(tagForecastData, high, 20);
TALVORO_FIELD_AT(tagForecastData, icon, 30);
TALVORO_FIELD_AT(tagForecastData, condition, 286);

TALVORO_SIZE_IS(tagWeatherData, 1320);
TALVORO_FIELD_AT(tagWeatherData, reservedBytes, 0);
TALVORO_FIELD_AT(tagWeatherData, tempF, 74);
TALVORO_FIELD_AT(tagWeatherData, tempC, 84);
TALVORO_FIELD_AT(tagWeatherData, humidity, 94);
TALVORO_FIELD_AT(tagWeatherData, windCondition, 104);
TALVORO_FIELD_AT(tagWeatherData, forecasts, 136);

TALVORO_SIZE_IS(tagZoneInfo, 34);
TALVORO_FIELD_AT(tagZoneInfo, id, 0);
TALVORO_FIELD_AT(tagZoneInfo, name, 2);

TALVORO_SIZE_IS(tagAreaInfo, 38);
TALVORO_FIELD_AT(tagAreaInfo, zoneId, 0);
TALVORO_FIELD_AT(tagAreaInfo, id, 2);
TALVORO_FIELD_AT(tagAreaInfo, extra, 4);
TALVORO_FIELD_AT(tagAreaInfo, name, 6);

TALVORO_SIZE_IS(tagSrvData, 98);
TALVORO_FIELD_AT(tagSrvData, id, 0);
TALVORO_FIELD_AT(tagSrvData, ip, 2);
TALVORO_FIELD_AT(tagSrvData, port, 34);
TALVORO_FIELD_AT(tagSrvData, serverName, 66);

TALVORO_SIZE_IS(tagSrvService, 72);
TALVORO_FIELD_AT(tagSrvService, id, 0);
TALVORO_FIELD_AT(tagSrvService, serviceName, 4);
TALVORO_FIELD_AT(tagSrvService, sink, 36);
TALVORO_FIELD_AT(tagSrvService, run, 68);

TALVORO_SIZE_IS(tagSoftData, 148);
TALVORO_FIELD_AT(tagSoftData, id, 0);
TALVORO_FIELD_AT(tagSoftData, depend, 2);
TALVORO_FIELD_AT(tagSoftData, reservedBytes, 4);
TALVORO_FIELD_AT(tagSoftData, version, 12);
TALVORO_FIELD_AT(tagSoftData, kindName, 16);
TALVORO_FIELD_AT(tagSoftData, processName, 48);
TALVORO_FIELD_AT(tagSoftData, zipName, 80);
TALVORO_FIELD_AT(tagSoftData, unzipDir, 112);
TALVORO_FIELD_AT(tagSoftData, reserved, 144);

TALVORO_SIZE_IS(tagUpdateData, 324);
TALVORO_FIELD_AT(tagUpdateData, file, 0);
TALVORO_FIELD_AT(tagUpdateData, check, 260);

TALVORO_SIZE_IS(tagShortCutInfo, 260);
TALVORO_FIELD_AT(tagShortCutInfo, file, 0);

#undef TALVORO_FIELD_AT
#undef TALVORO_SIZE_IS

/* C names the records as C++ does. */
#if !defined(__cplusplus)
typedef struct tagServiceTypeInfo tagServiceTypeInfo;
typedef struct tagServiceKindInfo tagServiceKindInfo;
typedef struct tagServiceServerInfo tagServiceServerInfo;
typedef struct tagPartInfo tagPartInfo;
typedef struct tagSubPartInfo tagSubPartInfo;
typedef struct tagForecastData tagForecastData;
typedef struct tagWeatherData tagWeatherData;
typedef struct tagZoneInfo tagZoneInfo;
typedef struct tagAreaInfo tagAreaInfo;
typedef struct tagSrvData tagSrvData;
typedef struct tagSrvService tagSrvService;
typedef struct tagSoftData tagSoftData;
typedef struct tagUpdateData tagUpdateData;
typedef struct tagShortCutInfo tagShortCutInfo;
#endif

#endif /* TALVORO_ELEMENTS_H_ */

/* The lists that the library's C++ and C interfaces make their enumerations,
   tables and texts of: the documents, the arrays their readers fill, the reasons
   of a call and the findings of the diagnosis, each value with its C++ name,
   its C name and its words. The values are part of the ABI: new ones go at the
   end. C99 as well as C++.

   Made from src/registry.txt by cmake/registry.cmake: change the registry, then
   run `cmake -P cmake/registry.cmake`; the build refuses a copy out of step. */
#ifndef TALVORO_LISTS_H_
#define TALVORO_LISTS_H_
/* clang-format off */

/* The documents, by their kinds: X(kind, C name). */
#define TALVORO_DOCUMENT_KINDS(X) \
  X(kServices, SERVICES) \
  X(kParts, PARTS) \
  X(kZones, ZONES) \
  X(kWeather, WEATHER) \
  X(kServers, SERVERS) \
  X(kServerServices, SERVER_SERVICES) \
  X(kVersion, VERSION) \
  X(kSoftware, SOFTWARE) \
  X(kShortcuts, SHORTCUTS) \
  X(kUpdates, UPDATES) \

/* Each document: X(kind, C name, word, name, the member of CTinyXmlHelper
   that reads it, its C reader, the members that write it (by a blank), its
   example under examples/). */
#define TALVORO_DOCUMENTS(X) \
  X(kServices, SERVICES, "services", "service list", GetServiceData, talvoro_get_service_data, "", "services.xml") \
  X(kParts, PARTS, "parts", "part list", GetPartData, talvoro_get_part_data, "", "parts.xml") \
  X(kZones, ZONES, "zones", "zone area list", GetAreaData, talvoro_get_area_data, "", "zones.xml") \
  X(kWeather, WEATHER, "weather", "weather report", GetWeatherData, talvoro_get_weather_data, "", "weather.xml") \
  X(kServers, SERVERS, "servers", "server list", GetSrvData, talvoro_get_srv_data, "", "servers.xml") \
  X(kServerServices, SERVER_SERVICES, "server-services", "server service list", GetSrvServiceData, talvoro_get_srv_service_data, "", "server-services.xml") \
  X(kVersion, VERSION, "version", "version stamp", GeVersion, talvoro_get_version, "", "version.xml") \
  X(kSoftware, SOFTWARE, "software", "software component list", GetSoftData, talvoro_get_soft_data, "SetSoftVersion", "software.xml") \
  X(kShortcuts, SHORTCUTS, "shortcuts", "shortcut list", GetShutCutInfo, talvoro_get_shortcut_info, "DeleteShutCutInfo WrittingShutCutInfo", "shortcuts.xml") \
  X(kUpdates, UPDATES, "updates", "update list", GetUpdateData, talvoro_get_update_data, "WrittingUpdateFile", "updates.xml") \

/* The arrays that readers fill: X(C name, shape, element record, the
   document's C name, label). The shape is the exported class's: ARRAY (a
   CArrayTemplate, grown once before its records come), LIST (a CList),
   RECORD (one record, replaced whole) or TEXT (a CString; its record is char). */
#define TALVORO_ARRAYS(X) \
  X(SERVICE_TYPES, ARRAY, tagServiceTypeInfo, SERVICES, "types") \
  X(SERVICE_KINDS, ARRAY, tagServiceKindInfo, SERVICES, "kinds") \
  X(SERVICE_SERVERS, ARRAY, tagServiceServerInfo, SERVICES, "servers") \
  X(PARTS, ARRAY, tagPartInfo, PARTS, "parts") \
  X(SUB_PARTS, ARRAY, tagSubPartInfo, PARTS, "subParts") \
  X(ZONES, ARRAY, tagZoneInfo, ZONES, "zones") \
  X(AREAS, ARRAY, tagAreaInfo, ZONES, "areas") \
  X(WEATHER, RECORD, tagWeatherData, WEATHER, "weather") \
  X(SERVERS, LIST, tagSrvData, SERVERS, "servers") \
  X(SERVER_SERVICES, LIST, tagSrvService, SERVER_SERVICES, "services") \
  X(VERSION_TEXT, TEXT, char, VERSION, "version") \
  X(VERSION_UPDATE_TIME, TEXT, char, VERSION, "updatetime") \
  X(SOFTWARE, LIST, tagSoftData, SOFTWARE, "components") \
  X(SHORTCUTS, ARRAY, tagShortCutInfo, SHORTCUTS, "shortcuts") \
  X(UPDATES, LIST, tagUpdateData, UPDATES, "updates") \

/* The arrays that a record of several holds: X(C name, element record, that
   record, its member). */
#define TALVORO_RECORD_MEMBERS(X) \
  X(SERVICE_TYPES, tagServiceTypeInfo, tagServerListInfo, types) \
  X(SERVICE_KINDS, tagServiceKindInfo, tagServerListInfo, kinds) \
  X(SERVICE_SERVERS, tagServiceServerInfo, tagServerListInfo, servers) \
  X(PARTS, tagPartInfo, tagPartListInfo, parts) \
  X(SUB_PARTS, tagSubPartInfo, tagPartListInfo, subParts) \
  X(ZONES, tagZoneInfo, tagZoneAreaArray, zones) \
  X(AREAS, tagAreaInfo, tagZoneAreaArray, areas) \

/* Why a call failed; kOk when it did not: X(C++ name, C name, words). */
#define TALVORO_REASONS(X) \
  X(kOk, OK, "ok") \
  X(kMissing, MISSING, "missing") \
  X(kNotRegular, NOT_REGULAR, "not a regular file") \
  X(kUnreadable, UNREADABLE, "unreadable") /* with the system's error */ \
  X(kTooLarge, TOO_LARGE, "over the size limit") /* more than 64 MiB */ \
  X(kEmpty, EMPTY, "empty") \
  X(kMalformed, MALFORMED, "malformed") /* with TinyXML's error, its line and column */ \
  X(kTooDeep, TOO_DEEP, "nested too deep") /* deeper than 256 elements; with the line */ \
  X(kTooManyAttributes, TOO_MANY_ATTRIBUTES, "too many attributes on one element") /* over 256 */ \
  X(kNoElement, NO_ELEMENT, "no document element") \
  X(kNoWeather, NO_WEATHER, "no \"weather\" element") \
  X(kNoMemory, NO_MEMORY, "out of memory") \
  X(kFolderMissing, FOLDER_MISSING, "folder missing") \
  X(kTargetNotRegular, TARGET_NOT_REGULAR, "target is not a regular file") \
  X(kNotWritable, NOT_WRITABLE, "not writable") \
  X(kHardLinks, HARD_LINKS, "target has several hard links") \
  X(kOwnerNotKept, OWNER_NOT_KEPT, "owner or permission bits cannot be kept") \
  X(kAttributesNotKept, ATTRIBUTES_NOT_KEPT, "extended attributes cannot be kept") \
  X(kWriteFailed, WRITE_FAILED, "failed write") /* with the system's error, as below */ \
  X(kSyncFailed, SYNC_FAILED, "failed sync") \
  X(kCloseFailed, CLOSE_FAILED, "failed close") \
  X(kLinkFailed, LINK_FAILED, "failed link") \
  X(kRenameFailed, RENAME_FAILED, "failed rename") \
  X(kNotReadBack, NOT_READ_BACK, "text would not read back") /* would not load as written */ \
  X(kStopped, STOPPED, "stopped by the host") /* a callback asked to stop */ \
  X(kInvalidArgument, INVALID_ARGUMENT, "invalid argument") /* a null path or record, a count below 0, an unknown kind */ \
  X(kTooLargeToParse, TOO_LARGE_TO_PARSE, "too large to parse") /* its tree past the budget */ \
  X(kWideText, WIDE_TEXT, "UTF-16 or UTF-32, which TinyXML does not read") /* its byte-order mark or zero bytes say which */ \

/* What each reason is about: X(C++ name, C name, C++ family, C family); the
   families are none (kOk), argument (what the caller passed), reading (the
   document), saving and host (the host's own callback). */
#define TALVORO_REASON_FAMILIES(X) \
  X(kOk, OK, kNone, NONE) \
  X(kMissing, MISSING, kReading, READING) \
  X(kNotRegular, NOT_REGULAR, kReading, READING) \
  X(kUnreadable, UNREADABLE, kReading, READING) \
  X(kTooLarge, TOO_LARGE, kReading, READING) \
  X(kEmpty, EMPTY, kReading, READING) \
  X(kMalformed, MALFORMED, kReading, READING) \
  X(kTooDeep, TOO_DEEP, kReading, READING) \
  X(kTooManyAttributes, TOO_MANY_ATTRIBUTES, kReading, READING) \
  X(kNoElement, NO_ELEMENT, kReading, READING) \
  X(kNoWeather, NO_WEATHER, kReading, READING) \
  X(kNoMemory, NO_MEMORY, kReading, READING) \
  X(kFolderMissing, FOLDER_MISSING, kSaving, SAVING) \
  X(kTargetNotRegular, TARGET_NOT_REGULAR, kSaving, SAVING) \
  X(kNotWritable, NOT_WRITABLE, kSaving, SAVING) \
  X(kHardLinks, HARD_LINKS, kSaving, SAVING) \
  X(kOwnerNotKept, OWNER_NOT_KEPT, kSaving, SAVING) \
  X(kAttributesNotKept, ATTRIBUTES_NOT_KEPT, kSaving, SAVING) \
  X(kWriteFailed, WRITE_FAILED, kSaving, SAVING) \
  X(kSyncFailed, SYNC_FAILED, kSaving, SAVING) \
  X(kCloseFailed, CLOSE_FAILED, kSaving, SAVING) \
  X(kLinkFailed, LINK_FAILED, kSaving, SAVING) \
  X(kRenameFailed, RENAME_FAILED, kSaving, SAVING) \
  X(kNotReadBack, NOT_READ_BACK, kSaving, SAVING) \
  X(kStopped, STOPPED, kHost, HOST) \
  X(kInvalidArgument, INVALID_ARGUMENT, kArgument, ARGUMENT) \
  X(kTooLargeToParse, TOO_LARGE_TO_PARSE, kReading, READING) \
  X(kWideText, WIDE_TEXT, kReading, READING) \

/* What a reader changes silently: X(C++ name, C name, words). */
#define TALVORO_FINDINGS(X) \
  X(kTextCut, TEXT_CUT, "text cut") /* text longer than its field: cut, `lost` bytes gone */ \
  X(kNarrowed, NARROWED, "number narrowed to 16 bits") /* a number that does not fit its 16 bits: its low bits kept */ \
  X(kSaturated, SATURATED, "number saturated at the 32-bit limit") /* a number beyond the 32-bit range: the nearest limit kept */ \
  X(kNumberAbsent, NUMBER_ABSENT, "number absent") /* a number not written at all: 0 */ \
  X(kNotANumber, NOT_A_NUMBER, "not a number") /* text without leading digits: 0 */ \
  X(kTrailingText, TRAILING_TEXT, "text after the number") /* digits followed by other characters: the digits alone */ \
  X(kNameCase, NAME_CASE, "attribute name in another case") /* an attribute spelt as an expected one only when case is ignored */ \
  X(kPassedOver, PASSED_OVER, "element passed over") /* an element the reader does not read */ \
  X(kEntryMissing, ENTRY_MISSING, "element missing") /* an element the reader looks for that is not there: its fields empty */ \
  X(kCutInCharacter, CUT_IN_CHARACTER, "text cut inside a character") /* text cut inside a character of the declared encoding: its first `lost` bytes end the stored text */ \
  X(kNotText, NOT_TEXT, "text not valid in its encoding") /* a run of `lost` bytes that begin no character of the declared encoding, from byte `width` (from 1), as TinyXML reads them */ \
  X(kUnknownEncoding, UNKNOWN_ENCODING, "encoding not known") /* a declared encoding that the system does not know (`written`) */ \

/* clang-format on */
#endif /* TALVORO_LISTS_H_ */

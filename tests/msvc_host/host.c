/* A host built for Microsoft's ABI (clang-cl and lld-link, no Microsoft
   compiler, SDK or runtime): it declares the few functions of kernel32 and
   msvcrt it uses, brings its own entry point, and calls the MinGW-built
   talvoro.dll through <talvoro/c.h> alone. Run in a folder holding copies of
   the example documents, it reads each, writes shortcuts and updates, sets a
   version and deletes a shortcut, checking every result (counts, fields, the
   files' bytes); it exits with a nonzero status at the first difference.
   With "--plant" on its command line it expects one value otherwise than it
   is, to show that a difference fails it. */
#include <stddef.h>

#include <talvoro/c.h>

/* kernel32 and msvcrt, declared as Windows declares them. */
typedef void* HANDLE;
__declspec(dllimport) HANDLE __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(HANDLE file, const void* data, unsigned long size,
                                              unsigned long* written, void* overlapped);
__declspec(dllimport) void __stdcall ExitProcess(unsigned int status);
__declspec(dllimport) char* __stdcall GetCommandLineA(void);
__declspec(dllimport) size_t __cdecl strlen(const char* text);
__declspec(dllimport) int __cdecl strcmp(const char* a, const char* b);
__declspec(dllimport) char* __cdecl strstr(const char* text, const char* part);
__declspec(dllimport) void* __cdecl memset(void* to, int byte, size_t size);
__declspec(dllimport) void* __cdecl memcpy(void* to, const void* from, size_t size);
__declspec(dllimport) int __cdecl memcmp(const void* a, const void* b, size_t size);
typedef struct FILE FILE;
__declspec(dllimport) FILE* __cdecl fopen(const char* path, const char* mode);
__declspec(dllimport) size_t __cdecl fread(void* to, size_t size, size_t count, FILE* file);
__declspec(dllimport) int __cdecl fclose(FILE* file);
__declspec(dllimport) int __cdecl remove(const char* path);

static void Say(const char* text) {
  unsigned long written = 0;
  WriteFile(GetStdHandle((unsigned long)-11), text, (unsigned long)strlen(text), &written, 0);
}

static void SayNumber(long value) {
  char digits[24];
  int at = (int)sizeof digits - 1;
  int negative = value < 0;
  unsigned long rest = negative ? (unsigned long)-value : (unsigned long)value;
  digits[at] = '\0';
  do {
    digits[--at] = (char)('0' + rest % 10);
    rest /= 10;
  } while (rest);
  if (negative) digits[--at] = '-';
  Say(digits + at);
}

static void Fail(const char* what, long got, long expected) {
  Say("msvc host: ");
  Say(what);
  Say(": got ");
  SayNumber(got);
  Say(", expected ");
  SayNumber(expected);
  Say("\n");
  ExitProcess(1);
}

static void Expect(const char* what, long got, long expected) {
  if (got != expected) Fail(what, got, expected);
}

static void ExpectText(const char* what, const char* got, const char* expected) {
  if (strcmp(got, expected) != 0) {
    Say("msvc host: ");
    Say(what);
    Say(": got \"");
    Say(got);
    Say("\", expected \"");
    Say(expected);
    Say("\"\n");
    ExitProcess(1);
  }
}

/* What a reader hands over: records per array, a few fields, the texts. */
typedef struct Seen {
  int counts[TALVORO_ARRAY_END_];
  int reserved[TALVORO_ARRAY_END_];
  char firstType[32];
  char firstServerIp[64];
  char lastShortcut[260];
  char texts[2][64];
  int zoneIds;
  int order; /* servers seen before the first kind: the children come first */
} Seen;

static int TALVORO_CALL OnReserve(void* context, talvoro_array array, int count) {
  ((Seen*)context)->reserved[array] = count;
  return 0;
}

static int TALVORO_CALL OnRecord(void* context, talvoro_array array, const void* record) {
  Seen* seen = (Seen*)context;
  if (array == TALVORO_SERVICE_TYPES && !seen->counts[array])
    memcpy(seen->firstType, ((const tagServiceTypeInfo*)record)->typeName, 32);
  if (array == TALVORO_SERVICE_SERVERS && !seen->counts[array])
    memcpy(seen->firstServerIp, ((const tagServiceServerInfo*)record)->ip, 64);
  if (array == TALVORO_SERVICE_SERVERS && !seen->counts[TALVORO_SERVICE_KINDS]) ++seen->order;
  if (array == TALVORO_SHORTCUTS)
    memcpy(seen->lastShortcut, ((const tagShortCutInfo*)record)->file, 260);
  if (array == TALVORO_ZONES) seen->zoneIds += ((const tagZoneInfo*)record)->id;
  ++seen->counts[array];
  return 0;
}

static int TALVORO_CALL OnText(void* context, talvoro_array array, const char* text,
                               size_t length) {
  Seen* seen = (Seen*)context;
  char* to = seen->texts[array == TALVORO_VERSION_TEXT ? 0 : 1];
  if (length >= 64) length = 63;
  memcpy(to, text, length);
  to[length] = '\0';
  return 0;
}

typedef talvoro_reason(TALVORO_CALL* Reader)(const char*, const talvoro_sink*, talvoro_outcome*);

static void Read(Reader read, const char* path, Seen* seen) {
  talvoro_sink sink;
  talvoro_outcome outcome;
  memset(seen, 0, sizeof *seen);
  memset(&sink, 0, sizeof sink);
  sink.size = sizeof sink;
  sink.context = seen;
  sink.reserve = OnReserve;
  sink.record = OnRecord;
  sink.text = OnText;
  memset(&outcome, 0, sizeof outcome);
  outcome.size = sizeof outcome;
  Expect(path, read(path, &sink, &outcome), TALVORO_REASON_OK);
  Expect("the outcome's reason", outcome.reason, TALVORO_REASON_OK);
}

/* The file's bytes, at most `capacity` - 1 of them, then a zero byte. */
static void ReadFileText(const char* path, char* text, size_t capacity) {
  FILE* file = fopen(path, "rb");
  size_t got = 0;
  if (!file) Fail(path, 0, 1);
  got = fread(text, 1, capacity - 1, file);
  fclose(file);
  text[got] = '\0';
}

static char file[4096];

void __cdecl mainCRTStartup(void) {
  const int plant = strstr(GetCommandLineA(), "--plant") != 0;
  Seen seen;
  talvoro_outcome outcome;
  tagShortCutInfo shortcuts[3];
  tagUpdateData updates[2];
  tagSoftData soft;

  Expect("interface version", talvoro_interface_version(), TALVORO_C_INTERFACE_VERSION);
  ExpectText("library version", talvoro_version(), TALVORO_VERSION_STRING);

  Read(talvoro_get_service_data, "services.xml", &seen);
  Expect("types", seen.counts[TALVORO_SERVICE_TYPES], 3);
  Expect("kinds", seen.counts[TALVORO_SERVICE_KINDS], 3);
  Expect("servers", seen.counts[TALVORO_SERVICE_SERVERS], plant ? 6 : 5);
  Expect("servers reserved", seen.reserved[TALVORO_SERVICE_SERVERS], 5);
  Expect("servers before their kind", seen.order, 2);
  ExpectText("first type", seen.firstType, "Market data");
  ExpectText("first server's ip", seen.firstServerIp, "10.20.1.15");
  Read(talvoro_get_part_data, "parts.xml", &seen);
  Expect("parts", seen.counts[TALVORO_PARTS], 3);
  Expect("sub-parts", seen.counts[TALVORO_SUB_PARTS], 5);
  Read(talvoro_get_area_data, "zones.xml", &seen);
  Expect("zones", seen.counts[TALVORO_ZONES], 3);
  Expect("zone ids", seen.zoneIds, 1 + 2 + 3);
  Expect("areas", seen.counts[TALVORO_AREAS], 4);
  Read(talvoro_get_weather_data, "weather.xml", &seen);
  Expect("weather", seen.counts[TALVORO_WEATHER], 1);
  Read(talvoro_get_srv_data, "servers.xml", &seen);
  Expect("server list", seen.counts[TALVORO_SERVERS], 4);
  Read(talvoro_get_srv_service_data, "server-services.xml", &seen);
  Expect("server services", seen.counts[TALVORO_SERVER_SERVICES], 4);
  Read(talvoro_get_version, "version.xml", &seen);
  ExpectText("version", seen.texts[0], "3.2.14.0");
  ExpectText("update time", seen.texts[1], "2019-05-20 08:30");
  Read(talvoro_get_soft_data, "software.xml", &seen);
  Expect("components", seen.counts[TALVORO_SOFTWARE], 5);
  Read(talvoro_get_update_data, "updates.xml", &seen);
  Expect("updates", seen.counts[TALVORO_UPDATES], 4);
  Read(talvoro_get_shortcut_info, "shortcuts.xml", &seen);
  Expect("shortcuts", seen.counts[TALVORO_SHORTCUTS], 4);
  ExpectText("last shortcut", seen.lastShortcut, "D:\\Reports\\daily-pnl.xlsx");

  /* Writers: the bytes that TinyXML prints, lines ended as Windows ends them. */
  memset(shortcuts, 0, sizeof shortcuts);
  memcpy(shortcuts[0].file, "a.exe", 6);
  memcpy(shortcuts[1].file, "b & c.exe", 10);
  memcpy(shortcuts[2].file, "d.exe", 6);
  memset(&outcome, 0, sizeof outcome);
  outcome.size = sizeof outcome;
  Expect("write shortcuts",
         talvoro_write_shortcut_info("msvc-shortcuts.xml", shortcuts, 3, &outcome),
         TALVORO_REASON_OK);
  Expect("shortcuts written", outcome.changed, 3);
  ReadFileText("msvc-shortcuts.xml", file, sizeof file);
  ExpectText("shortcut file", file,
             "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n<items>\r\n"
             "    <item file=\"a.exe\"></item>\r\n    <item file=\"b &amp; c.exe\"></item>\r\n"
             "    <item file=\"d.exe\"></item>\r\n</items>\r\n");
  Expect("delete a shortcut",
         talvoro_delete_shortcut_info("msvc-shortcuts.xml", &shortcuts[1], &outcome),
         TALVORO_REASON_OK);
  Expect("shortcuts deleted", outcome.changed, 1);
  ReadFileText("msvc-shortcuts.xml", file, sizeof file);
  /* Loaded back, an item without text prints as an empty-element tag. */
  ExpectText("shortcut file after the deletion", file,
             "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n<items>\r\n"
             "    <item file=\"a.exe\" />\r\n    <item file=\"d.exe\" />\r\n</items>\r\n");

  memset(updates, 0, sizeof updates);
  memcpy(updates[0].file, "quote.zip", 10);
  memcpy(updates[0].check, "5d41", 5);
  Expect("write updates", talvoro_write_update_file("msvc-updates.xml", updates, 2, &outcome),
         TALVORO_REASON_OK);
  ReadFileText("msvc-updates.xml", file, sizeof file);
  ExpectText("update file", file,
             "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n<items>\r\n"
             "    <item file=\"quote.zip\" check=\"5d41\"></item>\r\n"
             "    <item file=\"\" check=\"\"></item>\r\n</items>\r\n");

  memset(&soft, 0, sizeof soft);
  Read(talvoro_get_soft_data, "software.xml", &seen);
  soft.id = 21;
  soft.version = 13;
  Expect("set a version", talvoro_set_soft_version(&soft, "software.xml", &outcome),
         TALVORO_REASON_OK);
  Expect("components updated", outcome.changed, 1);
  ReadFileText("software.xml", file, sizeof file);
  if (!strstr(file, "version=\"13\"")) Fail("the new version in software.xml", 0, 13);

  /* Failures are values. */
  Expect("a missing folder",
         talvoro_write_shortcut_info("no-such-folder\\x.xml", shortcuts, 1, &outcome),
         TALVORO_REASON_FOLDER_MISSING);
  Expect("a null record", talvoro_set_soft_version(0, "software.xml", &outcome),
         TALVORO_REASON_INVALID_ARGUMENT);
  Expect("a missing file", talvoro_get_part_data("none.xml", 0, &outcome), TALVORO_REASON_MISSING);
  ExpectText("its words", talvoro_reason_text(outcome.reason), "missing");
  Expect("a pattern", talvoro_is_file_exist("*.xml"), 1);
  /* A Unicode build's wide paths (wchar_t: UTF-16 here). */
  Expect("a wide pattern", talvoro_is_file_exist_w(L"s?rvers.xml"), 1);
  Expect("a wide path", talvoro_get_version_w(L"version.xml", 0, &outcome), TALVORO_REASON_OK);
  Expect("a missing wide path", talvoro_get_version_w(L"\x7248\x672C.xml", 0, &outcome),
         TALVORO_REASON_MISSING);
  remove("msvc-shortcuts.xml");
  remove("msvc-updates.xml");
  Say("msvc host: every result as expected\n");
  ExitProcess(0);
}

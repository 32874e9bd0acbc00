/* A host in plain C: lists a service list's records through the library's C
   interface, then writes a shortcut list and reads it back.

     list_services SERVICES.XML [SHORTCUTS.XML]

   Built with a C compiler alone: see CMakeLists.txt, or with pkg-config:
     cc -std=c99 main.c $(pkg-config --cflags --libs talvoro) */
#include <stdio.h>
#include <string.h>

#include <talvoro/c.h>

static int TALVORO_CALL on_reserve(void* context, talvoro_array array, int count) {
  (void)context;
  printf("(%d records of array %d follow)\n", count, (int)array);
  return 0;
}

/* Each record as the reader appends it: servers before their kind, kinds
   before their type. */
static int TALVORO_CALL on_record(void* context, talvoro_array array, const void* record) {
  int* records = (int*)context;
  ++*records;
  switch (array) {
    case TALVORO_SERVICE_TYPES: {
      const tagServiceTypeInfo* type = (const tagServiceTypeInfo*)record;
      printf("type %d %s\n", type->id, type->typeName);
      break;
    }
    case TALVORO_SERVICE_KINDS: {
      const tagServiceKindInfo* kind = (const tagServiceKindInfo*)record;
      printf("  kind %d of type %d: %s (%s)\n", kind->id, kind->typeId, kind->kindName,
             kind->processName);
      break;
    }
    case TALVORO_SERVICE_SERVERS: {
      const tagServiceServerInfo* server = (const tagServiceServerInfo*)record;
      printf("    server %d of kind %d: %s:%s %s\n", server->id, server->kindId, server->ip,
             server->port, server->serverName);
      break;
    }
    default:
      break;
  }
  return 0;
}

static int TALVORO_CALL on_shortcut(void* context, talvoro_array array, const void* record) {
  (void)array;
  printf("shortcut %s\n", ((const tagShortCutInfo*)record)->file);
  ++*(int*)context;
  return 0;
}

int main(int argc, char** argv) {
  talvoro_sink sink;
  talvoro_outcome outcome;
  talvoro_reason reason;
  int records = 0;

  if (argc < 2) {
    fprintf(stderr, "usage: %s SERVICES.XML [SHORTCUTS.XML]\n", argv[0]);
    return 2;
  }
  printf("talvoro %s, C interface %d\n", talvoro_version(), talvoro_interface_version());

  memset(&sink, 0, sizeof sink);
  sink.size = sizeof sink;
  sink.context = &records;
  sink.reserve = on_reserve;
  sink.record = on_record;
  memset(&outcome, 0, sizeof outcome);
  outcome.size = sizeof outcome;
  reason = talvoro_get_service_data(argv[1], &sink, &outcome);
  if (reason != TALVORO_REASON_OK) {
    fprintf(stderr, "%s: %s %s (line %d)\n", argv[1], talvoro_reason_text(outcome.reason),
            outcome.detail, outcome.line);
    return 1;
  }
  printf("%d records\n", records);

  if (argc > 2) {
    tagShortCutInfo shortcuts[2];
    int read = 0;
    memset(shortcuts, 0, sizeof shortcuts);
    strcpy(shortcuts[0].file, "C:\\Program Files\\Quotes\\quote.exe");
    strcpy(shortcuts[1].file, "D:\\Trade\\trade.exe");
    reason = talvoro_write_shortcut_info(argv[2], shortcuts, 2, &outcome);
    if (reason != TALVORO_REASON_OK) {
      fprintf(stderr, "%s: %s %s\n", argv[2], talvoro_reason_text(reason), outcome.detail);
      return 1;
    }
    sink.context = &read;
    sink.reserve = NULL;
    sink.record = on_shortcut;
    reason = talvoro_get_shortcut_info(argv[2], &sink, &outcome);
    if (reason != TALVORO_REASON_OK || read != 2) {
      fprintf(stderr, "%s: read back %d of 2 (%s)\n", argv[2], read, talvoro_reason_text(reason));
      return 1;
    }
  }
  return 0;
}

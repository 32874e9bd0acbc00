/* The C interface: every document function of CTinyXmlHelper, the writers'
   reasons and the diagnosis, in plain C, so that a host of any compiler or
   language calls the library the same way (LevelDB's c.h is the model).

   - Nothing crosses but C types: the element records of <talvoro/elements.h>
     (the one definition of each layout), integers, `const char*` and the
     structs below. No C++ type, exception or allocator: nothing allocated on
     one side is released on the other.
   - Errors are values: every call returns a talvoro_reason (TALVORO_REASON_OK
     when it did not fail; the values and ReasonText's words are those of
     talvoro::Reason) and fills a talvoro_outcome when one is given, with the
     same reason, place and detail as every other interface gives. A null
     path, a null record, null records with a count above 0, a count below 0
     and a document kind that names none are TALVORO_REASON_INVALID_ARGUMENT,
     the detail naming the argument; null records with a count of 0 are an
     empty list.
   - Readers hand each record to the host's callback, in exactly the order in
     which the exported class appends it to the host's containers: a record
     after the records of its children where the reader does so, the arrays
     of one reader interleaved as it interleaves them. Before the first
     record of each array that the exported class grows at once, a reserve
     callback tells how many records are coming, so that a host's array can
     grow once. A callback that answers nonzero stops the read: the call
     returns TALVORO_REASON_STOPPED, and the records delivered before stay
     delivered. The record pointer lives for the callback's duration.
   - Structs that may grow carry their size in their first member, as Win32's
     do: a host sets it to sizeof the struct it was built with, and the
     library uses no member beyond it.
   - Calls on different files and sinks may run on different threads.
   C99 and C++, and C in Microsoft's mode; functions are __cdecl on Windows. */
#ifndef TALVORO_C_H_
#define TALVORO_C_H_

#include <stddef.h>

#include "talvoro/elements.h"
#include "talvoro/export.h"
#include "talvoro/lists.h"
#include "talvoro/version.h"

#if defined(_WIN32)
#define TALVORO_CALL __cdecl
#else
#define TALVORO_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The version of this interface; it grows when functions or struct members
   are added. */
#define TALVORO_C_INTERFACE_VERSION 1
TALVORO_API int TALVORO_CALL talvoro_interface_version(void);

/* talvoro::Reason, value for value: TALVORO_REASON_OK, _MISSING, ... */
typedef enum talvoro_reason {
#define TALVORO_C_REASON(name, cname, text) TALVORO_REASON_##cname,
  TALVORO_REASONS(TALVORO_C_REASON)
#undef TALVORO_C_REASON
      TALVORO_REASON_END_ /* not a reason: one past the last */
} talvoro_reason;

/* talvoro::DocumentKind: TALVORO_DOCUMENT_SERVICES, ... */
typedef enum talvoro_document {
#define TALVORO_C_DOCUMENT(name, cname) TALVORO_DOCUMENT_##cname,
  TALVORO_DOCUMENT_KINDS(TALVORO_C_DOCUMENT)
#undef TALVORO_C_DOCUMENT
      TALVORO_DOCUMENT_END_
} talvoro_document;

/* talvoro::FindingKind: TALVORO_FINDING_TEXT_CUT, ... */
typedef enum talvoro_finding_kind {
#define TALVORO_C_FINDING(name, cname, text) TALVORO_FINDING_##cname,
  TALVORO_FINDINGS(TALVORO_C_FINDING)
#undef TALVORO_C_FINDING
      TALVORO_FINDING_END_
} talvoro_finding_kind;

/* talvoro::ReasonFamily: what a reason is about. */
typedef enum talvoro_family {
  TALVORO_FAMILY_NONE,     /* TALVORO_REASON_OK, or a value that names no reason */
  TALVORO_FAMILY_ARGUMENT, /* what the caller passed */
  TALVORO_FAMILY_READING,  /* reading the document */
  TALVORO_FAMILY_SAVING,   /* saving it */
  TALVORO_FAMILY_HOST      /* the host's own callback */
} talvoro_family;

/* The family of a reason (TALVORO_REASON_FAMILIES). A host tells reading
   failures from saving ones by this, never by comparing values: new reasons
   of any family are appended at the end. */
TALVORO_API talvoro_family TALVORO_CALL talvoro_reason_family(int reason);

/* The words of a reason or finding kind ("missing", "text cut"); "unknown
   reason" for a value that names none. The words are English: a host that
   shows them in another language translates by value. */
TALVORO_API const char* TALVORO_CALL talvoro_reason_text(int reason);
TALVORO_API const char* TALVORO_CALL talvoro_finding_text(int kind);

/* A call's reason, for a person. */
typedef struct talvoro_outcome {
  size_t size;      /* sizeof(talvoro_outcome), set by the host */
  int reason;       /* a talvoro_reason */
  int line;         /* in the document, from 1; 0 when no place is known */
  int column;       /* from 1; 0 when not known */
  int changed;      /* writers: the elements written, updated or removed */
  char detail[256]; /* the system's or TinyXML's words; "" when the reason says it all */
} talvoro_outcome;

/* The arrays that readers fill: TALVORO_SERVICE_TYPES, ... (TALVORO_ARRAYS in
   <talvoro/lists.h> gives each with its element record, the record of
   several arrays that holds it, and its shape). */
typedef enum talvoro_array {
#define TALVORO_C_ARRAY(cname, shape, record, document, label) TALVORO_##cname,
  TALVORO_ARRAYS(TALVORO_C_ARRAY)
#undef TALVORO_C_ARRAY
      TALVORO_ARRAY_END_
} talvoro_array;

/* The bytes of one record of `array` (sizeof its element record); 0 for the
   version's texts and for a value that names no array. */
TALVORO_API size_t TALVORO_CALL talvoro_record_size(talvoro_array array);

/* Where a reader's records go. Every callback may be null (then what it
   would receive is dropped); each answers 0 to go on, nonzero to stop. */
typedef struct talvoro_sink {
  size_t size; /* sizeof(talvoro_sink), set by the host */
  void* context;
  /* `count` records of `array` follow (arrays only, as the exported class
     grows them: not for lists, which grow a node at a time). */
  int(TALVORO_CALL* reserve)(void* context, talvoro_array array, int count);
  /* One record: a pointer to the element record of `array`. */
  int(TALVORO_CALL* record)(void* context, talvoro_array array, const void* record);
  /* One text of the version document: `length` bytes, then a zero byte. */
  int(TALVORO_CALL* text)(void* context, talvoro_array array, const char* text, size_t length);
} talvoro_sink;

/* CTinyXmlHelper::IsFileExist: nonzero when a file or directory matches. */
TALVORO_API int TALVORO_CALL talvoro_is_file_exist(const char* pattern);

/* The readers. Each reads the document at `path` as the CTinyXmlHelper
   function of the same name does and hands its records to `sink` (which may
   be null: a check that the document reads). */
TALVORO_API talvoro_reason TALVORO_CALL talvoro_get_service_data(const char* path,
                                                                 const talvoro_sink* sink,
                                                                 talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_get_part_data(const char* path,
                                                              const talvoro_sink* sink,
                                                              talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_get_area_data(const char* path,
                                                              const talvoro_sink* sink,
                                                              talvoro_outcome* outcome);
/* One TALVORO_WEATHER record, only when the document has its "weather". */
TALVORO_API talvoro_reason TALVORO_CALL talvoro_get_weather_data(const char* path,
                                                                 const talvoro_sink* sink,
                                                                 talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_get_srv_data(const char* path,
                                                             const talvoro_sink* sink,
                                                             talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_get_srv_service_data(const char* path,
                                                                     const talvoro_sink* sink,
                                                                     talvoro_outcome* outcome);
/* GeVersion: two texts, TALVORO_VERSION_TEXT then TALVORO_VERSION_UPDATE_TIME. */
TALVORO_API talvoro_reason TALVORO_CALL talvoro_get_version(const char* path,
                                                            const talvoro_sink* sink,
                                                            talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_get_soft_data(const char* path,
                                                              const talvoro_sink* sink,
                                                              talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_get_update_data(const char* path,
                                                                const talvoro_sink* sink,
                                                                talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_get_shortcut_info(const char* path,
                                                                  const talvoro_sink* sink,
                                                                  talvoro_outcome* outcome);

/* The writers, as the CTinyXmlHelper functions of the same names; the
   records are read, never changed. */
TALVORO_API talvoro_reason TALVORO_CALL talvoro_set_soft_version(const tagSoftData* soft,
                                                                 const char* path,
                                                                 talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_write_update_file(const char* path,
                                                                  const tagUpdateData* updates,
                                                                  int count,
                                                                  talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_write_shortcut_info(
    const char* path, const tagShortCutInfo* shortcuts, int count, talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_delete_shortcut_info(
    const char* path, const tagShortCutInfo* shortcut, talvoro_outcome* outcome);

/* What a reader changes silently: talvoro::Finding, with its size. */
typedef struct talvoro_finding {
  size_t size;           /* sizeof(talvoro_finding) as the library fills it */
  int kind;              /* a talvoro_finding_kind */
  int line;              /* of the element concerned, from 1 */
  int column;            /* where its start tag begins, from 1 */
  const char* element;   /* its name */
  const char* attribute; /* the attribute or value concerned */
  const char* written;   /* the text as written */
  const char* stored;    /* the value as stored, as text */
  int width;             /* as talvoro::Finding's */
  int lost;              /* as talvoro::Finding's */
} talvoro_finding;

typedef void(TALVORO_CALL* talvoro_finding_callback)(const talvoro_finding* finding, void* context);

/* talvoro::Diagnose: reads `path` as a document of `document` as its reader
   would, changes nothing, and hands each finding to `callback` (when not
   null) in document order; the texts last as long as the callback. */
TALVORO_API talvoro_reason TALVORO_CALL talvoro_diagnose(talvoro_document document,
                                                         const char* path, talvoro_outcome* outcome,
                                                         talvoro_finding_callback callback,
                                                         void* context);

#if defined(_WIN32)
/* The wide-character twins, on Windows: every function above that takes a
   path, as talvoro_<name>_w taking it in UTF-16, with the same contract. A
   path may hold any character that Windows allows in a name, whatever the
   ANSI code page, and may be longer than MAX_PATH, absolute or relative:
   the library gives the system its "\\?\" form (never the host). The texts
   in documents stay bytes, as with the narrow functions. */
TALVORO_API int TALVORO_CALL talvoro_is_file_exist_w(const wchar_t* pattern);
#define TALVORO_C_WIDE_READER(kind, cname, word, name, member, creader, writers, example) \
  TALVORO_API talvoro_reason TALVORO_CALL creader##_w(                                    \
      const wchar_t* path, const talvoro_sink* sink, talvoro_outcome* outcome);
TALVORO_DOCUMENTS(TALVORO_C_WIDE_READER)
#undef TALVORO_C_WIDE_READER
TALVORO_API talvoro_reason TALVORO_CALL talvoro_set_soft_version_w(const tagSoftData* soft,
                                                                   const wchar_t* path,
                                                                   talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_write_update_file_w(const wchar_t* path,
                                                                    const tagUpdateData* updates,
                                                                    int count,
                                                                    talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_write_shortcut_info_w(
    const wchar_t* path, const tagShortCutInfo* shortcuts, int count, talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_delete_shortcut_info_w(
    const wchar_t* path, const tagShortCutInfo* shortcut, talvoro_outcome* outcome);
TALVORO_API talvoro_reason TALVORO_CALL talvoro_diagnose_w(talvoro_document document,
                                                           const wchar_t* path,
                                                           talvoro_outcome* outcome,
                                                           talvoro_finding_callback callback,
                                                           void* context);
#endif

#ifdef __cplusplus
}
#endif

#endif /* TALVORO_C_H_ */

// Why: the reasons behind the library's true and false, for the person who
// wrote a document and for the tools that help them.
//
// Diagnose() reads a document exactly as the library's reader of its kind
// does, changes no file, and tells why the reader would refuse it (with the
// line and column where that is known) and, one finding at a time, what the
// reader would change silently: text cut to its field, numbers narrowed or
// saturated, attributes spelt in another case, elements passed over. The
// writers below do what the CTinyXmlHelper writers of the same documents do
// and say why they failed. Everything here crosses the library boundary as
// plain structs, enums, integers and C strings.
#ifndef TALVORO_DIAGNOSE_H_
#define TALVORO_DIAGNOSE_H_

#include "talvoro/export.h"
#include "talvoro/records.h"

namespace talvoro {

// The documents, by the reader that reads them.
enum class DocumentKind : int {
  kServices,        // GetServiceData
  kParts,           // GetPartData
  kZones,           // GetAreaData
  kWeather,         // GetWeatherData
  kServers,         // GetSrvData
  kServerServices,  // GetSrvServiceData
  kVersion,         // GeVersion
  kSoftware,        // GetSoftData
  kShortcuts,       // GetShutCutInfo
  kUpdates,         // GetUpdateData
};

// Why a call failed; kOk when it did not.
enum class Reason : int {
  kOk,
  // Reading.
  kMissing,
  kNotRegular,
  kUnreadable,  // with the system's error
  kTooLarge,    // more than 64 MiB
  kEmpty,
  kMalformed,          // with TinyXML's error, its line and column
  kTooDeep,            // nested deeper than 256 elements; with the line
  kTooManyAttributes,  // an element with more than 256 attributes; with its line
  kNoElement,
  kNoWeather,  // a weather document without its "weather" element
  kNoMemory,
  // Saving.
  kFolderMissing,
  kTargetNotRegular,
  kNotWritable,
  kHardLinks,
  kOwnerNotKept,
  kAttributesNotKept,
  kWriteFailed,  // with the system's error, as the following
  kSyncFailed,
  kCloseFailed,
  kLinkFailed,
  kRenameFailed,
  kNotReadBack,  // the text would not load back as the same document
};

// The reason of one call, for a person.
struct Outcome {
  Reason reason;
  int line;          // 1-based; 0 when no place is known
  int column;        // 1-based; 0 when not known
  int changed;       // writers: the elements written, updated or removed
  char detail[256];  // the system's or TinyXML's words, "" when the reason says it all
};

// What a reader changes silently.
enum class FindingKind : int {
  kTextCut,       // text longer than its field: cut, `lost` bytes gone
  kNarrowed,      // a number that does not fit its 16 bits: its low bits kept
  kSaturated,     // a number beyond the 32-bit range: the nearest limit kept
  kNumberAbsent,  // a number not written at all: 0
  kNotANumber,    // text without leading digits: 0
  kTrailingText,  // digits followed by other characters: the digits alone
  kNameCase,      // an attribute spelt as an expected one only when case is ignored: not read
  kPassedOver,    // an element the reader does not read
  kEntryMissing,  // an element the reader looks for that is not there: its fields empty
};

struct Finding {
  FindingKind kind;
  int line;               // of the element concerned, 1-based
  int column;             // where the element's start tag begins, 1-based
  const char* element;    // its name
  const char* attribute;  // the attribute or value concerned ("" for an element)
  const char* written;    // the text as written (kNameCase: the attribute's own spelling)
  const char* stored;     // the value as stored, as text ("" when nothing is stored)
  int width;              // kTextCut: the field's width in bytes; numbers: its width in bits
  int lost;               // kTextCut: the bytes cut off
};

// Receives each finding, in document order; the texts last as long as the call.
using FindingCallback = void (*)(const Finding* finding, void* context);

// Reads `path` as a document of `kind`, as its reader would, into containers
// of its own. Returns the reason the reader would refuse it (kOk when it
// reads), fills `outcome` when not null, and hands every finding to
// `callback` when not null.
TALVORO_API Reason Diagnose(DocumentKind kind, const char* path, Outcome* outcome,
                            FindingCallback callback, void* context);

// The reason or finding kind as a few words ("missing", "text cut").
TALVORO_API const char* ReasonText(Reason reason);
TALVORO_API const char* FindingText(FindingKind kind);

// The writers, each as its CTinyXmlHelper counterpart, with the outcome:
// SetSoftVersion (`changed`: the components updated), DeleteShutCutInfo
// (`changed`: 1 when an item was removed), WrittingShutCutInfo and
// WrittingUpdateFile (`changed`: the items written, from `count` records).
TALVORO_API bool SetSoftVersion(const tagSoftData& soft, const char* path, Outcome* outcome);
TALVORO_API bool DeleteShortcut(const char* path, const tagShortCutInfo& shortcut,
                                Outcome* outcome);
TALVORO_API bool WriteShortcuts(const char* path, const tagShortCutInfo* shortcuts, int count,
                                Outcome* outcome);
TALVORO_API bool WriteUpdates(const char* path, const tagUpdateData* updates, int count,
                              Outcome* outcome);

}  // namespace talvoro

#endif  // TALVORO_DIAGNOSE_H_

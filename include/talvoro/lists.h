/* The lists that the library's C++ and C interfaces both make their
   enumerations and texts of: each value written once, with its C++ name, its
   C name and its words. The values are part of the ABI: new ones go at the
   end. C99 as well as C++. */
#ifndef TALVORO_LISTS_H_
#define TALVORO_LISTS_H_

/* The documents, in the order of the table of documents; each by the reader
   that reads it: GetServiceData, GetPartData, GetAreaData, GetWeatherData,
   GetSrvData, GetSrvServiceData, GeVersion, GetSoftData, GetShutCutInfo,
   GetUpdateData. */
#define TALVORO_DOCUMENT_KINDS(X)     \
  X(kServices, SERVICES)              \
  X(kParts, PARTS)                    \
  X(kZones, ZONES)                    \
  X(kWeather, WEATHER)                \
  X(kServers, SERVERS)                \
  X(kServerServices, SERVER_SERVICES) \
  X(kVersion, VERSION)                \
  X(kSoftware, SOFTWARE)              \
  X(kShortcuts, SHORTCUTS)            \
  X(kUpdates, UPDATES)

/* Why a call failed; kOk when it did not. */
#define TALVORO_REASONS(X)                                                                        \
  X(kOk, OK, "ok")                                                                                \
  /* Reading. */                                                                                  \
  X(kMissing, MISSING, "missing")                                                                 \
  X(kNotRegular, NOT_REGULAR, "not a regular file")                                               \
  X(kUnreadable, UNREADABLE, "unreadable")       /* with the system's error */                    \
  X(kTooLarge, TOO_LARGE, "over the size limit") /* more than 64 MiB */                           \
  X(kEmpty, EMPTY, "empty")                                                                       \
  X(kMalformed, MALFORMED, "malformed")    /* with TinyXML's error, its line and column */        \
  X(kTooDeep, TOO_DEEP, "nested too deep") /* deeper than 256 elements; with the line */          \
  X(kTooManyAttributes, TOO_MANY_ATTRIBUTES, "too many attributes on one element") /* over 256 */ \
  X(kNoElement, NO_ELEMENT, "no document element")                                                \
  X(kNoWeather, NO_WEATHER, "no \"weather\" element")                                             \
  X(kNoMemory, NO_MEMORY, "out of memory")                                                        \
  /* Saving. */                                                                                   \
  X(kFolderMissing, FOLDER_MISSING, "folder missing")                                             \
  X(kTargetNotRegular, TARGET_NOT_REGULAR, "target is not a regular file")                        \
  X(kNotWritable, NOT_WRITABLE, "not writable")                                                   \
  X(kHardLinks, HARD_LINKS, "target has several hard links")                                      \
  X(kOwnerNotKept, OWNER_NOT_KEPT, "owner or permission bits cannot be kept")                     \
  X(kAttributesNotKept, ATTRIBUTES_NOT_KEPT, "extended attributes cannot be kept")                \
  X(kWriteFailed, WRITE_FAILED, "failed write") /* with the system's error, as below */           \
  X(kSyncFailed, SYNC_FAILED, "failed sync")                                                      \
  X(kCloseFailed, CLOSE_FAILED, "failed close")                                                   \
  X(kLinkFailed, LINK_FAILED, "failed link")                                                      \
  X(kRenameFailed, RENAME_FAILED, "failed rename")                                                \
  X(kNotReadBack, NOT_READ_BACK, "text would not read back") /* would not load as written */      \
  /* The C interface. */                                                                          \
  X(kStopped, STOPPED, "stopped by the host")               /* a callback asked to stop */        \
  X(kInvalidArgument, INVALID_ARGUMENT, "invalid argument") /* a null record, a count below 0 */  \
  /* Reading, again. */                                                                           \
  X(kTooLargeToParse, TOO_LARGE_TO_PARSE, "too large to parse") /* its tree past the budget */

/* What a reader changes silently. */
#define TALVORO_FINDINGS(X)                                                   \
  /* Text longer than its field: cut, `lost` bytes gone. */                   \
  X(kTextCut, TEXT_CUT, "text cut")                                           \
  /* A number that does not fit its 16 bits: its low bits kept. */            \
  X(kNarrowed, NARROWED, "number narrowed to 16 bits")                        \
  /* A number beyond the 32-bit range: the nearest limit kept. */             \
  X(kSaturated, SATURATED, "number saturated at the 32-bit limit")            \
  /* A number not written at all: 0. */                                       \
  X(kNumberAbsent, NUMBER_ABSENT, "number absent")                            \
  /* Text without leading digits: 0. */                                       \
  X(kNotANumber, NOT_A_NUMBER, "not a number")                                \
  /* Digits followed by other characters: the digits alone. */                \
  X(kTrailingText, TRAILING_TEXT, "text after the number")                    \
  /* An attribute spelt as an expected one only when case is ignored. */      \
  X(kNameCase, NAME_CASE, "attribute name in another case")                   \
  /* An element the reader does not read. */                                  \
  X(kPassedOver, PASSED_OVER, "element passed over")                          \
  /* An element the reader looks for that is not there: its fields empty. */  \
  X(kEntryMissing, ENTRY_MISSING, "element missing")                          \
  /* Text cut inside a character of the declared encoding: the character's */ \
  /* first `lost` bytes end the stored text. */                               \
  X(kCutInCharacter, CUT_IN_CHARACTER, "text cut inside a character")         \
  /* A run of `lost` bytes that begin no character of the declared */         \
  /* encoding, from byte `width` (from 1), as TinyXML reads them. */          \
  X(kNotText, NOT_TEXT, "text not valid in its encoding")                     \
  /* A declared encoding that the system does not know (`written`). */        \
  X(kUnknownEncoding, UNKNOWN_ENCODING, "encoding not known")

#endif /* TALVORO_LISTS_H_ */

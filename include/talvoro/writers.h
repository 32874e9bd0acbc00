// The writers of CTinyXmlHelper, each with the outcome of its call: the
// reason it failed, with the place in the document where one is known, and
// how many elements it changed. Each does exactly what its CTinyXmlHelper
// counterpart does.
#ifndef TALVORO_WRITERS_H_
#define TALVORO_WRITERS_H_

#include "talvoro/core.h"
#include "talvoro/elements.h"
#include "talvoro/export.h"

namespace talvoro {

// SetSoftVersion (`changed`: the components updated), DeleteShutCutInfo
// (`changed`: 1 when an item was removed), WrittingShutCutInfo and
// WrittingUpdateFile (`changed`: the items written). A null path, a count
// below 0, or null records with a count above 0 are kInvalidArgument; null
// records with a count of 0 write an empty list. `outcome` may be null.
TALVORO_API bool SetSoftVersion(const tagSoftData& soft, const char* path, Outcome* outcome);
TALVORO_API bool DeleteShortcut(const char* path, const tagShortCutInfo& shortcut,
                                Outcome* outcome);
TALVORO_API bool WriteShortcuts(const char* path, const tagShortCutInfo* shortcuts, int count,
                                Outcome* outcome);
TALVORO_API bool WriteUpdates(const char* path, const tagUpdateData* updates, int count,
                              Outcome* outcome);

}  // namespace talvoro

#endif  // TALVORO_WRITERS_H_

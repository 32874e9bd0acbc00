// The writers' work, done once for every face: each takes the file layer
// (the faces pass the system's; tests pass one that fails a call or loses
// power) and refuses what no face may pass on (kInvalidArgument, the detail
// naming the argument), checked in the order of the parameters: a null
// path, a null record, a count below 0, null records with a count above 0.
// Null records with a count of 0 are an empty list. Each is written in its
// document's file under src/documents.
#ifndef TALVORO_API_WRITERS_H_
#define TALVORO_API_WRITERS_H_

#include "os/env.h"
#include "os/status.h"
#include "talvoro/core.h"
#include "talvoro/diagnose.h"
#include "talvoro/records.h"

namespace talvoro {

// Sets the version of every component whose "id" agrees with soft->id in its
// low 16 bits, and saves the document back (*updated: how many).
Status SaveSoftVersion(Env& env, const tagSoftData* soft, const char* path, int* updated);
// Removes the first "item" whose "file" is the shortcut's text, and saves the
// document back (*removed: 1 or 0).
Status SaveWithoutShortcut(Env& env, const char* path, const tagShortCutInfo* shortcut,
                           int* removed);
// Replace the document with the records' items, in order.
Status SaveShortcuts(Env& env, const char* path, const tagShortCutInfo* shortcuts, int count);
Status SaveUpdates(Env& env, const char* path, const tagUpdateData* updates, int count);
Status SaveUpdates(Env& env, const char* path,
                   const CList<tagUpdateData, const tagUpdateData&>& list);

// The same as every face runs them, on the system's file layer (`env`: its
// narrow or its wide-character faces' paths): the outcome of each
// (`changed`: the elements set, removed or written), a failed allocation as
// kNoMemory, no exception. The talvoro:: writers and the C interface both
// hand these on.
Outcome SoftVersionSet(Env& env, const tagSoftData* soft, const char* path);
Outcome ShortcutDeleted(Env& env, const char* path, const tagShortCutInfo* shortcut);
Outcome ShortcutsWritten(Env& env, const char* path, const tagShortCutInfo* shortcuts, int count);
Outcome UpdatesWritten(Env& env, const char* path, const tagUpdateData* updates, int count);

// talvoro::Diagnose on the system's file layer `env`.
Reason DiagnoseIn(Env& env, DocumentKind kind, const char* path, Outcome* outcome,
                  FindingCallback callback, void* context);

}  // namespace talvoro

#endif  // TALVORO_API_WRITERS_H_

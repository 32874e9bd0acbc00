// A Status as the public Outcome that the diagnosis and the writers with a
// reason hand to their callers.
#ifndef TALVORO_FRAME_OUTCOME_H_
#define TALVORO_FRAME_OUTCOME_H_

#include "frame/status.h"
#include "talvoro/diagnose.h"

namespace talvoro {

// Fills `outcome`, when not null, from `status` and the count of elements a
// writer changed; returns whether the status is a success.
bool Report(const Status& status, int changed, Outcome* outcome);

}  // namespace talvoro

#endif  // TALVORO_FRAME_OUTCOME_H_

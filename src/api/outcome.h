// A Status as the public Outcome that the faces hand to their callers.
#ifndef TALVORO_API_OUTCOME_H_
#define TALVORO_API_OUTCOME_H_

#include "os/status.h"
#include "talvoro/core.h"

namespace talvoro {

// Fills `outcome`, when not null, from `status` and the count of elements a
// writer changed (0 unless the status is a success); returns whether the
// status is a success.
bool Report(const Status& status, int changed, Outcome* outcome);

}  // namespace talvoro

#endif  // TALVORO_API_OUTCOME_H_

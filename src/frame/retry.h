// Calls of the file layer that a signal interrupted are made again.
#ifndef TALVORO_FRAME_RETRY_H_
#define TALVORO_FRAME_RETRY_H_

#include "frame/status.h"

namespace talvoro {

template <typename Call>
Status Retrying(Call call) {
  for (;;) {
    Status status = call();
    if (status.code() != Status::Code::kInterrupted) return status;
  }
}

}  // namespace talvoro

#endif  // TALVORO_FRAME_RETRY_H_

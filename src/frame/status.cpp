#include "frame/status.h"

#include "frame/outcome.h"

namespace talvoro {

const char* Describe(Status::Code code) {
  if (code == Status::Code::kInterrupted) return "interrupted";
  return ReasonText(ToReason(code));
}

std::string Status::ToString() const {
  std::string text = Describe(code_);
  if (!detail_.empty()) text += ": " + detail_;
  return text;
}

}  // namespace talvoro

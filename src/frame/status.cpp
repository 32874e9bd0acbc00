#include "frame/status.h"

namespace talvoro {

std::string Status::ToString() const {
  std::string text = ReasonText(code_);
  if (!detail_.empty()) text += ": " + detail_;
  return text;
}

}  // namespace talvoro

#include "os/status.h"

namespace talvoro {

std::string Status::ToString() const {
  std::string text = ReasonText(code_);
  if (!detail_.empty()) text += ": " + detail_;
  return text;
}

Status CheckPath(const char* path) {
  return path ? Status::Ok() : Status(Reason::kInvalidArgument, "the path is null");
}

Status CheckRecord(const void* record) {
  return record ? Status::Ok() : Status(Reason::kInvalidArgument, "the record is null");
}

Status CheckRecords(const void* records, int count) {
  if (count < 0) return Status(Reason::kInvalidArgument, "the count is " + std::to_string(count));
  if (!records && count > 0) {
    return Status(Reason::kInvalidArgument,
                  "the records are null, and the count is " + std::to_string(count));
  }
  return Status::Ok();
}

}  // namespace talvoro

#include "frame/status.h"

namespace talvoro {

const char* Describe(Status::Code code) {
  using Code = Status::Code;
  switch (code) {
    case Code::kOk:
      return "ok";
    case Code::kMissing:
      return "missing";
    case Code::kNotRegular:
      return "not a regular file";
    case Code::kUnreadable:
      return "unreadable";
    case Code::kTooLarge:
      return "over the size limit";
    case Code::kEmpty:
      return "empty";
    case Code::kMalformed:
      return "malformed";
    case Code::kTooDeep:
      return "nested too deep";
    case Code::kTooManyAttributes:
      return "too many attributes on one element";
    case Code::kNoElement:
      return "no document element";
    case Code::kNoMemory:
      return "out of memory";
    case Code::kFolderMissing:
      return "folder missing";
    case Code::kTargetNotRegular:
      return "target is not a regular file";
    case Code::kNotWritable:
      return "not writable";
    case Code::kHardLinks:
      return "target has several hard links";
    case Code::kOwnerNotKept:
      return "owner cannot be kept";
    case Code::kAttributesNotKept:
      return "extended attributes cannot be kept";
    case Code::kWriteFailed:
      return "failed write";
    case Code::kSyncFailed:
      return "failed sync";
    case Code::kCloseFailed:
      return "failed close";
    case Code::kLinkFailed:
      return "failed link";
    case Code::kRenameFailed:
      return "failed rename";
    case Code::kNotReadBack:
      return "text would not read back";
    case Code::kInterrupted:
      return "interrupted";
  }
  return "unknown";
}

std::string Status::ToString() const {
  std::string text = Describe(code_);
  if (!detail_.empty()) text += ": " + detail_;
  return text;
}

}  // namespace talvoro

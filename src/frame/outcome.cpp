#include "frame/outcome.h"

#include <cstring>
#include <string>

namespace talvoro {

Reason ToReason(Status::Code code) {
  using Code = Status::Code;
  switch (code) {
    case Code::kOk:
      return Reason::kOk;
    case Code::kMissing:
      return Reason::kMissing;
    case Code::kNotRegular:
      return Reason::kNotRegular;
    case Code::kUnreadable:
      return Reason::kUnreadable;
    case Code::kTooLarge:
      return Reason::kTooLarge;
    case Code::kEmpty:
      return Reason::kEmpty;
    case Code::kMalformed:
      return Reason::kMalformed;
    case Code::kTooDeep:
      return Reason::kTooDeep;
    case Code::kTooManyAttributes:
      return Reason::kTooManyAttributes;
    case Code::kNoElement:
      return Reason::kNoElement;
    case Code::kNoWeather:
      return Reason::kNoWeather;
    case Code::kNoMemory:
      return Reason::kNoMemory;
    case Code::kFolderMissing:
      return Reason::kFolderMissing;
    case Code::kTargetNotRegular:
      return Reason::kTargetNotRegular;
    case Code::kNotWritable:
      return Reason::kNotWritable;
    case Code::kHardLinks:
      return Reason::kHardLinks;
    case Code::kOwnerNotKept:
      return Reason::kOwnerNotKept;
    case Code::kAttributesNotKept:
      return Reason::kAttributesNotKept;
    case Code::kWriteFailed:
      return Reason::kWriteFailed;
    case Code::kSyncFailed:
      return Reason::kSyncFailed;
    case Code::kCloseFailed:
      return Reason::kCloseFailed;
    case Code::kLinkFailed:
      return Reason::kLinkFailed;
    case Code::kRenameFailed:
      return Reason::kRenameFailed;
    case Code::kNotReadBack:
      return Reason::kNotReadBack;
    // Repeated inside the library; should one ever pass, the write failed.
    case Code::kInterrupted:
      return Reason::kWriteFailed;
  }
  return Reason::kUnreadable;
}

const char* ReasonText(Reason reason) {
  switch (reason) {
    case Reason::kOk:
      return "ok";
    case Reason::kMissing:
      return "missing";
    case Reason::kNotRegular:
      return "not a regular file";
    case Reason::kUnreadable:
      return "unreadable";
    case Reason::kTooLarge:
      return "over the size limit";
    case Reason::kEmpty:
      return "empty";
    case Reason::kMalformed:
      return "malformed";
    case Reason::kTooDeep:
      return "nested too deep";
    case Reason::kTooManyAttributes:
      return "too many attributes on one element";
    case Reason::kNoElement:
      return "no document element";
    case Reason::kNoWeather:
      return "no \"weather\" element";
    case Reason::kNoMemory:
      return "out of memory";
    case Reason::kFolderMissing:
      return "folder missing";
    case Reason::kTargetNotRegular:
      return "target is not a regular file";
    case Reason::kNotWritable:
      return "not writable";
    case Reason::kHardLinks:
      return "target has several hard links";
    case Reason::kOwnerNotKept:
      return "owner or permission bits cannot be kept";
    case Reason::kAttributesNotKept:
      return "extended attributes cannot be kept";
    case Reason::kWriteFailed:
      return "failed write";
    case Reason::kSyncFailed:
      return "failed sync";
    case Reason::kCloseFailed:
      return "failed close";
    case Reason::kLinkFailed:
      return "failed link";
    case Reason::kRenameFailed:
      return "failed rename";
    case Reason::kNotReadBack:
      return "text would not read back";
  }
  return "unknown reason";
}

const char* FindingText(FindingKind kind) {
  switch (kind) {
    case FindingKind::kTextCut:
      return "text cut";
    case FindingKind::kNarrowed:
      return "number narrowed to 16 bits";
    case FindingKind::kSaturated:
      return "number saturated at the 32-bit limit";
    case FindingKind::kNumberAbsent:
      return "number absent";
    case FindingKind::kNotANumber:
      return "not a number";
    case FindingKind::kTrailingText:
      return "text after the number";
    case FindingKind::kNameCase:
      return "attribute name in another case";
    case FindingKind::kPassedOver:
      return "element passed over";
    case FindingKind::kEntryMissing:
      return "element missing";
  }
  return "unknown finding";
}

bool Report(const Status& status, int changed, Outcome* outcome) {
  if (outcome) {
    outcome->reason = ToReason(status.code());
    outcome->line = status.line();
    outcome->column = status.column();
    outcome->changed = status.ok() ? changed : 0;
    const std::string& detail = status.detail();
    const std::size_t length =
        detail.size() < sizeof outcome->detail ? detail.size() : sizeof outcome->detail - 1;
    std::memcpy(outcome->detail, detail.data(), length);
    outcome->detail[length] = '\0';
  }
  return status.ok();
}

}  // namespace talvoro

#include "api/outcome.h"

#include <cstring>
#include <string>

#include "talvoro/diagnose.h"

namespace talvoro {

const char* ReasonText(Reason reason) {
  switch (reason) {
#define TALVORO_REASON_CASE(name, cname, text) \
  case Reason::name:                           \
    return text;
    TALVORO_REASONS(TALVORO_REASON_CASE)
#undef TALVORO_REASON_CASE
  }
  return "unknown reason";
}

const char* FindingText(FindingKind kind) {
  switch (kind) {
#define TALVORO_FINDING_CASE(name, cname, text) \
  case FindingKind::name:                       \
    return text;
    TALVORO_FINDINGS(TALVORO_FINDING_CASE)
#undef TALVORO_FINDING_CASE
  }
  return "unknown reason";
}

bool Report(const Status& status, int changed, Outcome* outcome) {
  if (outcome) {
    outcome->reason = status.code();
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

// The exported class's records, as the foreign host prints its own: the
// reference that the host helper must match.
#include "document_calls.h"
#include "records_dump.h"

int main() {
  return DumpRecords([](const std::string& name, const char* path) {
    const testutil::CallOutcome outcome = testutil::FindCall(name)->run(path, "");
    return std::make_pair(outcome.result, outcome.bytes);
  });
}

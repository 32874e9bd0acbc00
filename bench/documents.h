// Generated documents of every kind, and for each document function the call
// itself beside its baseline: TinyXML's own LoadFile plus a walk that touches
// the same elements and attributes (and, for writers, TinyXML's in-place save).
#ifndef TALVORO_BENCH_DOCUMENTS_H_
#define TALVORO_BENCH_DOCUMENTS_H_

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Case {
  std::string name;                                    // e.g. "GetServiceData"
  std::function<std::string(std::size_t bytes)> make;  // a document of about `bytes`
  // Called once per size with the file written; returns the two timed calls.
  std::function<void(const std::string& path, std::function<void()>& library,
                     std::function<void()>& baseline)>
      prepare;
  std::size_t elements_per_kb = 0;  // filled in by the generator run, for reports
};

std::vector<Case> DocumentCases();

// The reader `function` ("GetServiceData") on `path` through the C interface,
// as a host calls it: a callback copies every record into a buffer of its
// array, grown once from the count that comes first. Empty for a function
// that is not a reader.
std::function<void()> CInterfaceCall(const std::string& function, const std::string& path);

// How many records the reader `function` (or its "(reserved)" variant)
// hands over for the document at `path`, all its arrays together.
std::size_t RecordsOf(const std::string& function, const std::string& path);

}  // namespace bench

#endif  // TALVORO_BENCH_DOCUMENTS_H_

// The C interface's readers seen from a host: a sink that records every
// callback, the readers from the registry, and what they delivered as the
// bytes the exported class's call table gives (document_calls.h), for the
// test suite and the fuzz target alike.
#ifndef TALVORO_TESTS_C_CALLS_H_
#define TALVORO_TESTS_C_CALLS_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "talvoro/c.h"

namespace testutil {

using CRead = talvoro_reason (*)(const char*, const talvoro_sink*, talvoro_outcome*);

// What a sink received: each callback as one event, in order.
struct Event {
  char what;  // 'n' reserve, 'r' record, 't' text
  talvoro_array array;
  std::string bytes;  // the record's, the text's; the count for a reserve
  bool operator==(const Event& o) const {
    return what == o.what && array == o.array && bytes == o.bytes;
  }
};

// A host's sink: every callback recorded, the host answering "stop" once it
// has received `stopAfter` records and texts.
struct Recorder {
  std::vector<Event> events;
  std::size_t stopAfter = SIZE_MAX;

  // The sink, its callbacks all set and its size the struct's own.
  talvoro_sink Sink();
  // The records and texts received.
  std::size_t Delivered() const;
};

// Each reader of the C interface, by the name of its CTinyXmlHelper
// function, with its arrays in the order of the record's members and the
// shape of the first: all from the registry's lists.
enum class Shape { ARRAY, LIST, RECORD, TEXT };
struct CReader {
  const char* name;
  CRead read;
  std::vector<talvoro_array> arrays;
  Shape shape;
};
const std::vector<CReader>& CReaders();

// The call table's bytes for what the C reader gave: the arrays one after
// the other; a weather record left as the table leaves it on false; texts
// as the table writes them, the table's own strings on false.
std::string AsCallBytes(const CReader& reader, bool ok, const std::vector<Event>& events);

}  // namespace testutil

#endif  // TALVORO_TESTS_C_CALLS_H_

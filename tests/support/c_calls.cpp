#include "c_calls.h"

#include <type_traits>

#include "talvoro/lists.h"
#include "talvoro/records.h"

namespace testutil {

talvoro_sink Recorder::Sink() {
  talvoro_sink sink{};
  sink.size = sizeof sink;
  sink.context = this;
  sink.reserve = [](void* context, talvoro_array array, int count) {
    static_cast<Recorder*>(context)->events.push_back({'n', array, std::to_string(count)});
    return 0;
  };
  sink.record = [](void* context, talvoro_array array, const void* record) {
    auto& self = *static_cast<Recorder*>(context);
    self.events.push_back(
        {'r', array, std::string(static_cast<const char*>(record), talvoro_record_size(array))});
    return self.Delivered() >= self.stopAfter ? 1 : 0;
  };
  sink.text = [](void* context, talvoro_array array, const char* text, std::size_t length) {
    auto& self = *static_cast<Recorder*>(context);
    // A text ends with its zero byte; one that does not is told by its bytes.
    self.events.push_back({'t', array, std::string(text, length) + (text[length] ? "!" : "")});
    return self.Delivered() >= self.stopAfter ? 1 : 0;
  };
  return sink;
}

std::size_t Recorder::Delivered() const {
  std::size_t n = 0;
  for (const Event& e : events)
    n += e.what != 'n';
  return n;
}

const std::vector<CReader>& CReaders() {
  static const std::vector<CReader> readers = [] {
    std::vector<CReader> all = {
#define TALVORO_C_READER_ROW(kind, cname, word, name, member, creader, writers, example) \
  {#member, &creader, {}, Shape::ARRAY},
        TALVORO_DOCUMENTS(TALVORO_C_READER_ROW)
#undef TALVORO_C_READER_ROW
    };
#define TALVORO_ARRAY_OF(cname, form, record, document, label)        \
  all[TALVORO_DOCUMENT_##document].arrays.push_back(TALVORO_##cname); \
  all[TALVORO_DOCUMENT_##document].shape = Shape::form;
    TALVORO_ARRAYS(TALVORO_ARRAY_OF)
#undef TALVORO_ARRAY_OF
    return all;
  }();
  return readers;
}

std::string AsCallBytes(const CReader& reader, bool ok, const std::vector<Event>& events) {
  std::string bytes;
  if (!ok && reader.shape == Shape::RECORD) return std::string(sizeof(tagWeatherData), '\xAB');
  if (!ok && reader.shape == Shape::TEXT) return "3:old;5:older;";
  for (talvoro_array array : reader.arrays) {
    for (const Event& e : events) {
      if (e.array != array || e.what == 'n') continue;
      bytes += e.what == 't' ? std::to_string(e.bytes.size()) + ":" + e.bytes + ";" : e.bytes;
    }
  }
  return bytes;
}

}  // namespace testutil

// The containers of the C interface. Readers are written once, over their
// containers' Add, AddTail, SetAtGrow and assignment; run with these, every
// record goes to the host's callback at the moment the exported class would
// append it to the host's container, and a callback's "stop" ends the read.
#ifndef TALVORO_FRAME_SINK_H_
#define TALVORO_FRAME_SINK_H_

#include <cstddef>

#include "frame/growth.h"
#include "talvoro/c.h"
#include "talvoro/records.h"

namespace talvoro {

// Thrown through a reader when a callback answers "stop"; the C function
// that ran the reader catches it.
struct Stopped {};

// The host's callbacks, those beyond the size the host gave left null.
class Sink {
 public:
  explicit Sink(const talvoro_sink* host);

  void Reserve(talvoro_array array, std::size_t count) const;
  void Record(talvoro_array array, const void* record) const;
  void Text(talvoro_array array, const CString& text) const;

 private:
  void* context_ = nullptr;
  decltype(talvoro_sink::reserve) reserve_ = nullptr;
  decltype(talvoro_sink::record) record_ = nullptr;
  decltype(talvoro_sink::text) text_ = nullptr;
};

// An array or list of one talvoro_array.
template <class T>
class SinkArray {
 public:
  SinkArray(const Sink& sink, talvoro_array array) : sink_(sink), array_(array) {}
  void Add(const T& record) { Deliver(record); }
  void AddTail(const T& record) { Deliver(record); }
  void SetAtGrow(int, const T& record) { Deliver(record); }
  int GetCount() const { return count_; }
  void Reserve(std::size_t count) const { sink_.Reserve(array_, count); }

 private:
  void Deliver(const T& record) {
    sink_.Record(array_, &record);
    ++count_;
  }

  const Sink& sink_;
  talvoro_array array_;
  int count_ = 0;
};

// GrowFor for the C interface: the counts go to the reserve callback, in the
// order of the arrays.
template <class... T>
void GrowFor(const Appends<SinkArray<T>>&... appends) {
  (appends.array.Reserve(appends.count), ...);
}

// One record or text, delivered when the reader assigns it.
template <class T>
class SinkValue {
 public:
  SinkValue(const Sink& sink, talvoro_array array) : sink_(sink), array_(array) {}
  SinkValue& operator=(const T& value) {
    if constexpr (std::is_same_v<T, CString>) {
      sink_.Text(array_, value);
    } else {
      sink_.Record(array_, &value);
    }
    return *this;
  }

 private:
  const Sink& sink_;
  talvoro_array array_;
};

// The readers' containers, member for member as the records hold theirs.
struct SinkServiceList {
  explicit SinkServiceList(const Sink& sink)
      : types(sink, TALVORO_SERVICE_TYPES),
        kinds(sink, TALVORO_SERVICE_KINDS),
        servers(sink, TALVORO_SERVICE_SERVERS) {}
  SinkArray<tagServiceTypeInfo> types;
  SinkArray<tagServiceKindInfo> kinds;
  SinkArray<tagServiceServerInfo> servers;
};

struct SinkPartList {
  explicit SinkPartList(const Sink& sink)
      : parts(sink, TALVORO_PARTS), subParts(sink, TALVORO_SUB_PARTS) {}
  SinkArray<tagPartInfo> parts;
  SinkArray<tagSubPartInfo> subParts;
};

struct SinkZoneAreas {
  explicit SinkZoneAreas(const Sink& sink)
      : zones(sink, TALVORO_ZONES), areas(sink, TALVORO_AREAS) {}
  SinkArray<tagZoneInfo> zones;
  SinkArray<tagAreaInfo> areas;
};

}  // namespace talvoro

#endif  // TALVORO_FRAME_SINK_H_

// The containers of the C interface. Readers are written once, over their
// containers' Add, AddTail, SetAtGrow and assignment; run with these, every
// record goes to the host's callback at the moment the exported class would
// append it to the host's container, and a callback's "stop" ends the read.
#ifndef TALVORO_API_SINK_H_
#define TALVORO_API_SINK_H_

#include <cstddef>
#include <type_traits>

#include "read/growth.h"
#include "talvoro/c.h"
#include "talvoro/records.h"

namespace talvoro {

// Thrown through a reader when a callback answers "stop"; the C function
// that ran the reader catches it (see ReadDocument).
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

// The records of several arrays, member for member as the exported class's
// records hold them (TALVORO_RECORD_MEMBERS): one type serves them all, each
// reader using the members of its own record.
class SinkRecords {
 public:
  SinkRecords(const Sink& sink, talvoro_array) : sink_(sink) {}

 private:
  const Sink& sink_;

 public:
#define TALVORO_SINK_MEMBER(cname, record, holder, member) \
  SinkArray<record> member{sink_, TALVORO_##cname};
  TALVORO_RECORD_MEMBERS(TALVORO_SINK_MEMBER)
#undef TALVORO_SINK_MEMBER
};

// The C interface's container for one of the exported class's: an array or
// list for a CArrayTemplate or a CList, SinkRecords for a record of several
// arrays, a value for the rest (the weather record, the version's texts).
template <class T>
constexpr bool kHoldsArrays = false
#define TALVORO_HOLDER(cname, record, holder, member) || std::is_same_v<T, holder>
    TALVORO_RECORD_MEMBERS(TALVORO_HOLDER)
#undef TALVORO_HOLDER
    ;
template <class T>
struct SinkFor {
  using type = std::conditional_t<kHoldsArrays<T>, SinkRecords, SinkValue<T>>;
};
template <class T, class ARG>
struct SinkFor<CArrayTemplate<T, ARG>> {
  using type = SinkArray<T>;
};
template <class T, class ARG>
struct SinkFor<CList<T, ARG>> {
  using type = SinkArray<T>;
};
template <class T>
using SinkOf = typename SinkFor<T>::type;

}  // namespace talvoro

#endif  // TALVORO_API_SINK_H_

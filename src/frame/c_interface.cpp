// The C interface: each function runs the code of its CTinyXmlHelper
// counterpart (the readers over the containers of frame/sink.h) and turns
// every failure into a reason. No exception leaves these functions.
#include "talvoro/c.h"

#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>

#include "frame/documents.h"
#include "frame/env.h"
#include "frame/outcome.h"
#include "frame/sink.h"
#include "talvoro/diagnose.h"

namespace talvoro {
namespace {

// Whether a struct of `size` bytes holds `member`, which ends `end` bytes
// into it.
bool Holds(std::size_t size, std::size_t end) {
  return end <= size;
}
#define TALVORO_HOLDS(object, member) \
  Holds((object)->size,               \
        offsetof(std::remove_pointer_t<decltype(object)>, member) + sizeof((object)->member))

// The outcome's members that the host's struct holds.
talvoro_reason Give(const Status& status, int changed, talvoro_outcome* outcome) {
  Outcome full{};
  Report(status, changed, &full);
  if (outcome) {
    if (TALVORO_HOLDS(outcome, reason)) outcome->reason = static_cast<int>(full.reason);
    if (TALVORO_HOLDS(outcome, line)) outcome->line = full.line;
    if (TALVORO_HOLDS(outcome, column)) outcome->column = full.column;
    if (TALVORO_HOLDS(outcome, changed)) outcome->changed = full.changed;
    if (TALVORO_HOLDS(outcome, detail))
      std::memcpy(outcome->detail, full.detail, sizeof full.detail);
  }
  return static_cast<talvoro_reason>(status.code());
}

// Runs `run(doc, sink)`, a reader over the host's sink, with its failures
// as reasons: a callback's "stop" and the library's own allocation failures.
template <class Run>
talvoro_reason Read(const talvoro_sink* host, talvoro_outcome* outcome, Run run) {
  Status status;
  try {
    const Sink sink(host);
    Document doc;
    status = run(doc, sink);
  } catch (const Stopped&) {
    status = Status(Reason::kStopped);
  } catch (const std::bad_alloc&) {
    status = Status(Reason::kNoMemory);
  }
  return Give(status, 0, outcome);
}

// A reader of one list or array.
template <class T>
talvoro_reason ReadList(const char* path, const talvoro_sink* host, talvoro_outcome* outcome,
                        talvoro_array array,
                        Status (*reader)(const Document&, const TiXmlElement&, SinkArray<T>&)) {
  return Read(host, outcome, [&](Document& doc, const Sink& sink) {
    SinkArray<T> list(sink, array);
    return ReadDocument(doc, path, reader, list);
  });
}

// A reader of a record with arrays of the C interface's containers.
template <class Info>
talvoro_reason ReadInfo(const char* path, const talvoro_sink* host, talvoro_outcome* outcome,
                        Status (*reader)(const Document&, const TiXmlElement&, Info&)) {
  return Read(host, outcome, [&](Document& doc, const Sink& sink) {
    Info info(sink);
    return ReadDocument(doc, path, reader, info);
  });
}

// The status an Outcome was made of.
Status Restored(const Outcome& outcome) {
  if (outcome.reason == Reason::kOk) return Status::Ok();
  return Status(outcome.reason, outcome.detail).At(outcome.line, outcome.column);
}

// A writer's call, with its failures as reasons.
template <class Write>
talvoro_reason Written(talvoro_outcome* outcome, Write write) {
  Outcome full{};
  try {
    write(&full);
  } catch (const std::bad_alloc&) {
    return Give(Status(Reason::kNoMemory), 0, outcome);
  }
  return Give(Restored(full), full.changed, outcome);
}

}  // namespace

Sink::Sink(const talvoro_sink* host) {
  if (!host) return;
  if (TALVORO_HOLDS(host, context)) context_ = host->context;
  if (TALVORO_HOLDS(host, reserve)) reserve_ = host->reserve;
  if (TALVORO_HOLDS(host, record)) record_ = host->record;
  if (TALVORO_HOLDS(host, text)) text_ = host->text;
}

void Sink::Reserve(talvoro_array array, std::size_t count) const {
  if (reserve_ && reserve_(context_, array, static_cast<int>(count))) throw Stopped();
}

void Sink::Record(talvoro_array array, const void* record) const {
  if (record_ && record_(context_, array, record)) throw Stopped();
}

void Sink::Text(talvoro_array array, const CString& text) const {
  if (text_ && text_(context_, array, text.GetString(), static_cast<std::size_t>(text.GetLength())))
    throw Stopped();
}

}  // namespace talvoro

using namespace talvoro;

extern "C" {

int TALVORO_CALL talvoro_interface_version(void) {
  return TALVORO_C_INTERFACE_VERSION;
}

const char* TALVORO_CALL talvoro_reason_text(int reason) {
  return ReasonText(static_cast<Reason>(reason));
}

const char* TALVORO_CALL talvoro_finding_text(int kind) {
  return FindingText(static_cast<FindingKind>(kind));
}

size_t TALVORO_CALL talvoro_record_size(talvoro_array array) {
  switch (array) {
    case TALVORO_SERVICE_TYPES:
      return sizeof(tagServiceTypeInfo);
    case TALVORO_SERVICE_KINDS:
      return sizeof(tagServiceKindInfo);
    case TALVORO_SERVICE_SERVERS:
      return sizeof(tagServiceServerInfo);
    case TALVORO_PARTS:
      return sizeof(tagPartInfo);
    case TALVORO_SUB_PARTS:
      return sizeof(tagSubPartInfo);
    case TALVORO_ZONES:
      return sizeof(tagZoneInfo);
    case TALVORO_AREAS:
      return sizeof(tagAreaInfo);
    case TALVORO_WEATHER:
      return sizeof(tagWeatherData);
    case TALVORO_SERVERS:
      return sizeof(tagSrvData);
    case TALVORO_SERVER_SERVICES:
      return sizeof(tagSrvService);
    case TALVORO_SOFTWARE:
      return sizeof(tagSoftData);
    case TALVORO_SHORTCUTS:
      return sizeof(tagShortCutInfo);
    case TALVORO_UPDATES:
      return sizeof(tagUpdateData);
    default:
      return 0;
  }
}

int TALVORO_CALL talvoro_is_file_exist(const char* pattern) {
  return Env::Default().PathExists(pattern) ? 1 : 0;
}

talvoro_reason TALVORO_CALL talvoro_get_service_data(const char* path, const talvoro_sink* sink,
                                                     talvoro_outcome* outcome) {
  return ReadInfo(path, sink, outcome, ReadServiceList<SinkServiceList>);
}

talvoro_reason TALVORO_CALL talvoro_get_part_data(const char* path, const talvoro_sink* sink,
                                                  talvoro_outcome* outcome) {
  return ReadInfo(path, sink, outcome, ReadPartList<SinkPartList>);
}

talvoro_reason TALVORO_CALL talvoro_get_area_data(const char* path, const talvoro_sink* sink,
                                                  talvoro_outcome* outcome) {
  return ReadInfo(path, sink, outcome, ReadZoneAreas<SinkZoneAreas>);
}

talvoro_reason TALVORO_CALL talvoro_get_weather_data(const char* path, const talvoro_sink* sink,
                                                     talvoro_outcome* outcome) {
  return Read(sink, outcome, [&](Document& doc, const Sink& to) {
    SinkValue<tagWeatherData> weather(to, TALVORO_WEATHER);
    return ReadDocument(doc, path, ReadWeather<SinkValue<tagWeatherData>>, weather);
  });
}

talvoro_reason TALVORO_CALL talvoro_get_srv_data(const char* path, const talvoro_sink* sink,
                                                 talvoro_outcome* outcome) {
  return ReadList(path, sink, outcome, TALVORO_SERVERS, ReadServerList<SinkArray<tagSrvData>>);
}

talvoro_reason TALVORO_CALL talvoro_get_srv_service_data(const char* path, const talvoro_sink* sink,
                                                         talvoro_outcome* outcome) {
  return ReadList(path, sink, outcome, TALVORO_SERVER_SERVICES,
                  ReadServerServices<SinkArray<tagSrvService>>);
}

talvoro_reason TALVORO_CALL talvoro_get_version(const char* path, const talvoro_sink* sink,
                                                talvoro_outcome* outcome) {
  return Read(sink, outcome, [&](Document& doc, const Sink& to) {
    SinkValue<CString> version(to, TALVORO_VERSION_TEXT);
    SinkValue<CString> updateTime(to, TALVORO_VERSION_UPDATE_TIME);
    return ReadDocument(doc, path, ReadVersion<SinkValue<CString>>, version, updateTime);
  });
}

talvoro_reason TALVORO_CALL talvoro_get_soft_data(const char* path, const talvoro_sink* sink,
                                                  talvoro_outcome* outcome) {
  return ReadList(path, sink, outcome, TALVORO_SOFTWARE, ReadSoftware<SinkArray<tagSoftData>>);
}

talvoro_reason TALVORO_CALL talvoro_get_update_data(const char* path, const talvoro_sink* sink,
                                                    talvoro_outcome* outcome) {
  return ReadList(path, sink, outcome, TALVORO_UPDATES, ReadUpdates<SinkArray<tagUpdateData>>);
}

talvoro_reason TALVORO_CALL talvoro_get_shortcut_info(const char* path, const talvoro_sink* sink,
                                                      talvoro_outcome* outcome) {
  return ReadList(path, sink, outcome, TALVORO_SHORTCUTS,
                  ReadShortcuts<SinkArray<tagShortCutInfo>>);
}

talvoro_reason TALVORO_CALL talvoro_set_soft_version(const tagSoftData* soft, const char* path,
                                                     talvoro_outcome* outcome) {
  if (!soft) return Give(Status(Reason::kInvalidArgument, "no record"), 0, outcome);
  return Written(outcome, [&](Outcome* full) { SetSoftVersion(*soft, path, full); });
}

talvoro_reason TALVORO_CALL talvoro_write_update_file(const char* path,
                                                      const tagUpdateData* updates, int count,
                                                      talvoro_outcome* outcome) {
  if (count < 0 || (count > 0 && !updates))
    return Give(Status(Reason::kInvalidArgument, "no records"), 0, outcome);
  return Written(outcome, [&](Outcome* full) { WriteUpdates(path, updates, count, full); });
}

talvoro_reason TALVORO_CALL talvoro_write_shortcut_info(const char* path,
                                                        const tagShortCutInfo* shortcuts, int count,
                                                        talvoro_outcome* outcome) {
  if (count < 0 || (count > 0 && !shortcuts))
    return Give(Status(Reason::kInvalidArgument, "no records"), 0, outcome);
  return Written(outcome, [&](Outcome* full) { WriteShortcuts(path, shortcuts, count, full); });
}

talvoro_reason TALVORO_CALL talvoro_delete_shortcut_info(const char* path,
                                                         const tagShortCutInfo* shortcut,
                                                         talvoro_outcome* outcome) {
  if (!shortcut) return Give(Status(Reason::kInvalidArgument, "no record"), 0, outcome);
  return Written(outcome, [&](Outcome* full) { DeleteShortcut(path, *shortcut, full); });
}

talvoro_reason TALVORO_CALL talvoro_diagnose(talvoro_document document, const char* path,
                                             talvoro_outcome* outcome,
                                             talvoro_finding_callback callback, void* context) {
  struct Forward {
    talvoro_finding_callback callback;
    void* context;
  } forward{callback, context};
  Outcome full{};
  Diagnose(
      static_cast<DocumentKind>(document), path, &full,
      callback ? [](const Finding* f, void* to) {
        const Forward& forward = *static_cast<const Forward*>(to);
        talvoro_finding finding{sizeof(talvoro_finding), static_cast<int>(f->kind), f->line,
                                f->column, f->element, f->attribute, f->written, f->stored,
                                f->width, f->lost};
        forward.callback(&finding, forward.context);
      } : FindingCallback(nullptr),
      &forward);
  return Give(Restored(full), 0, outcome);
}

}  // extern "C"

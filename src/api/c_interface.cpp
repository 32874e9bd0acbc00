// The C interface: each function runs the core that its CTinyXmlHelper
// counterpart runs (the readers over the containers of api/sink.h, through
// the registry's bindings) and turns every failure into a reason, with the
// place and detail every other face gives. No exception leaves these
// functions.
#include "talvoro/c.h"

#include <cstddef>
#include <cstring>
#include <new>
#include <string>
#include <type_traits>

#include "api/binding.h"
#include "api/outcome.h"
#include "api/writers.h"
#include "diagnose/swallowed.h"
#include "os/env.h"
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
talvoro_reason Give(const Outcome& full, talvoro_outcome* outcome) {
  if (outcome) {
    if (TALVORO_HOLDS(outcome, reason)) outcome->reason = static_cast<int>(full.reason);
    if (TALVORO_HOLDS(outcome, line)) outcome->line = full.line;
    if (TALVORO_HOLDS(outcome, column)) outcome->column = full.column;
    if (TALVORO_HOLDS(outcome, changed)) outcome->changed = full.changed;
    if (TALVORO_HOLDS(outcome, detail))
      std::memcpy(outcome->detail, full.detail, sizeof full.detail);
  }
  return static_cast<talvoro_reason>(full.reason);
}

// Runs the reader of `kind` over the host's sink, with the reasons the other
// faces give: the place and explanation of a refusal, a callback's "stop",
// the library's own allocation failures.
talvoro_reason ReadInto(Env& env, DocumentKind kind, const char* path, const talvoro_sink* host,
                        talvoro_outcome* outcome) {
  Status status = CheckPath(path);
  try {
    if (status.ok()) {
      const Sink sink(host);
      Document doc(env);
      doc.xml().Tell({true, false, &ExplainMalformed});
      status = FindBinding(kind)->sink(doc, path, sink);
    }
  } catch (const Stopped&) {
    status = Status(Reason::kStopped);
  } catch (const std::bad_alloc&) {
    status = Status(Reason::kNoMemory);
  }
  Outcome full{};
  Report(status, 0, &full);
  return Give(full, outcome);
}

// talvoro::Diagnose, its findings handed on as talvoro_finding.
talvoro_reason Diagnosed(Env& env, talvoro_document document, const char* path,
                         talvoro_outcome* outcome, talvoro_finding_callback callback,
                         void* context) {
  struct Forward {
    talvoro_finding_callback callback;
    void* context;
  } forward{callback, context};
  Outcome full{};
  DiagnoseIn(
      env, static_cast<DocumentKind>(document), path, &full,
      callback ? [](const Finding* f, void* to) {
        const Forward& forward = *static_cast<const Forward*>(to);
        talvoro_finding finding{sizeof(talvoro_finding), static_cast<int>(f->kind), f->line,
                                f->column, f->element, f->attribute, f->written, f->stored,
                                f->width, f->lost};
        forward.callback(&finding, forward.context);
      } : FindingCallback(nullptr),
      &forward);
  return Give(full, outcome);
}

#if defined(_WIN32)
// Runs `call` on the wide-character path as the wide faces' file layer takes
// it (a null path stays null, for the call to refuse); a failed allocation
// of it is the call's kNoMemory.
template <class Call>
talvoro_reason WithWidePath(const wchar_t* path, talvoro_outcome* outcome, Call call) {
  std::string bytes;
  try {
    bytes = PathFromWide(path);
  } catch (const std::bad_alloc&) {
    Outcome full{};
    Report(Status(Reason::kNoMemory), 0, &full);
    return Give(full, outcome);
  }
  return call(Env::Default(PathText::kUtf8), path ? bytes.c_str() : nullptr);
}
#endif

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

#define TALVORO_SAME_FAMILY(name, cname, family, cfamily)                             \
  static_assert(static_cast<int>(FamilyOf(Reason::name)) == TALVORO_FAMILY_##cfamily, \
                "ReasonFamily and talvoro_family agree");
TALVORO_REASON_FAMILIES(TALVORO_SAME_FAMILY)
#undef TALVORO_SAME_FAMILY

talvoro_family TALVORO_CALL talvoro_reason_family(int reason) {
  return static_cast<talvoro_family>(FamilyOf(static_cast<Reason>(reason)));
}

const char* TALVORO_CALL talvoro_finding_text(int kind) {
  return FindingText(static_cast<FindingKind>(kind));
}

size_t TALVORO_CALL talvoro_record_size(talvoro_array array) {
  switch (array) {
#define TALVORO_RECORD_SIZE(cname, shape, record, document, label) \
  case TALVORO_##cname:                                            \
    return std::is_same_v<record, char> ? 0 : sizeof(record);
    TALVORO_ARRAYS(TALVORO_RECORD_SIZE)
#undef TALVORO_RECORD_SIZE
    default:
      return 0;
  }
}

int TALVORO_CALL talvoro_is_file_exist(const char* pattern) {
  return Env::Default().PathExists(pattern) ? 1 : 0;
}

// The readers, one for each document of the registry, as <talvoro/c.h>
// declares them.
#define TALVORO_C_READER(kind, cname, word, name, member, creader, writers, example) \
  talvoro_reason TALVORO_CALL creader(const char* path, const talvoro_sink* sink,    \
                                      talvoro_outcome* outcome) {                    \
    return ReadInto(Env::Default(), DocumentKind::kind, path, sink, outcome);        \
  }
TALVORO_DOCUMENTS(TALVORO_C_READER)
#undef TALVORO_C_READER

talvoro_reason TALVORO_CALL talvoro_set_soft_version(const tagSoftData* soft, const char* path,
                                                     talvoro_outcome* outcome) {
  return Give(SoftVersionSet(Env::Default(), soft, path), outcome);
}

talvoro_reason TALVORO_CALL talvoro_write_update_file(const char* path,
                                                      const tagUpdateData* updates, int count,
                                                      talvoro_outcome* outcome) {
  return Give(UpdatesWritten(Env::Default(), path, updates, count), outcome);
}

talvoro_reason TALVORO_CALL talvoro_write_shortcut_info(const char* path,
                                                        const tagShortCutInfo* shortcuts, int count,
                                                        talvoro_outcome* outcome) {
  return Give(ShortcutsWritten(Env::Default(), path, shortcuts, count), outcome);
}

talvoro_reason TALVORO_CALL talvoro_delete_shortcut_info(const char* path,
                                                         const tagShortCutInfo* shortcut,
                                                         talvoro_outcome* outcome) {
  return Give(ShortcutDeleted(Env::Default(), path, shortcut), outcome);
}

talvoro_reason TALVORO_CALL talvoro_diagnose(talvoro_document document, const char* path,
                                             talvoro_outcome* outcome,
                                             talvoro_finding_callback callback, void* context) {
  return Diagnosed(Env::Default(), document, path, outcome, callback, context);
}

#if defined(_WIN32)
// The wide-character twins: the same calls on the wide faces' file layer.
int TALVORO_CALL talvoro_is_file_exist_w(const wchar_t* pattern) {
  try {
    return pattern && Env::Default(PathText::kUtf8).PathExists(PathFromWide(pattern).c_str()) ? 1
                                                                                              : 0;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

#define TALVORO_C_WIDE_READER(kind, cname, word, name, member, creader, writers, example) \
  talvoro_reason TALVORO_CALL creader##_w(const wchar_t* path, const talvoro_sink* sink,  \
                                          talvoro_outcome* outcome) {                     \
    return WithWidePath(path, outcome, [&](Env& env, const char* bytes) {                 \
      return ReadInto(env, DocumentKind::kind, bytes, sink, outcome);                     \
    });                                                                                   \
  }
TALVORO_DOCUMENTS(TALVORO_C_WIDE_READER)
#undef TALVORO_C_WIDE_READER

talvoro_reason TALVORO_CALL talvoro_set_soft_version_w(const tagSoftData* soft, const wchar_t* path,
                                                       talvoro_outcome* outcome) {
  return WithWidePath(path, outcome, [&](Env& env, const char* bytes) {
    return Give(SoftVersionSet(env, soft, bytes), outcome);
  });
}

talvoro_reason TALVORO_CALL talvoro_write_update_file_w(const wchar_t* path,
                                                        const tagUpdateData* updates, int count,
                                                        talvoro_outcome* outcome) {
  return WithWidePath(path, outcome, [&](Env& env, const char* bytes) {
    return Give(UpdatesWritten(env, bytes, updates, count), outcome);
  });
}

talvoro_reason TALVORO_CALL talvoro_write_shortcut_info_w(const wchar_t* path,
                                                          const tagShortCutInfo* shortcuts,
                                                          int count, talvoro_outcome* outcome) {
  return WithWidePath(path, outcome, [&](Env& env, const char* bytes) {
    return Give(ShortcutsWritten(env, bytes, shortcuts, count), outcome);
  });
}

talvoro_reason TALVORO_CALL talvoro_delete_shortcut_info_w(const wchar_t* path,
                                                           const tagShortCutInfo* shortcut,
                                                           talvoro_outcome* outcome) {
  return WithWidePath(path, outcome, [&](Env& env, const char* bytes) {
    return Give(ShortcutDeleted(env, bytes, shortcut), outcome);
  });
}

talvoro_reason TALVORO_CALL talvoro_diagnose_w(talvoro_document document, const wchar_t* path,
                                               talvoro_outcome* outcome,
                                               talvoro_finding_callback callback, void* context) {
  return WithWidePath(path, outcome, [&](Env& env, const char* bytes) {
    return Diagnosed(env, document, bytes, outcome, callback, context);
  });
}
#endif

}  // extern "C"

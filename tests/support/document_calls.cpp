#include "document_calls.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <system_error>
#include <tuple>
#include <type_traits>
#include <utility>

#include "member_call.h"
#include "talvoro/diagnose.h"
#include "talvoro/talvoro.h"

namespace testutil {
namespace {

// Room for the largest record, all zero.
constexpr unsigned char kZeroBytes[2048] = {};

template <typename T>
void Append(std::string& bytes, const T& record) {
  static_assert(std::is_trivially_copyable<T>::value, "plain records only");
  bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
}

template <std::size_t W>
bool Terminated(const char (&field)[W]) {
  return std::memchr(field, '\0', W) != nullptr;
}
template <typename... Fields>
bool AllTerminated(const Fields&... fields) {
  return (Terminated(fields) && ...);
}

bool Sound(const tagServiceTypeInfo& r) {
  return Terminated(r.typeName);
}
bool Sound(const tagServiceKindInfo& r) {
  return AllTerminated(r.kindName, r.processName, r.zipName, r.unzipDir, r.selfstock);
}
bool Sound(const tagServiceServerInfo& r) {
  return AllTerminated(r.port, r.ip, r.serverName);
}
bool Sound(const tagPartInfo& r) {
  return AllTerminated(r.name, r.url);
}
bool Sound(const tagSubPartInfo& r) {
  return AllTerminated(r.name, r.url);
}
bool Sound(const tagZoneInfo& r) {
  return Terminated(r.name);
}
bool Sound(const tagAreaInfo& r) {
  return Terminated(r.name);
}
bool Sound(const tagSrvData& r) {
  return AllTerminated(r.ip, r.port, r.serverName);
}
bool Sound(const tagSrvService& r) {
  return AllTerminated(r.serviceName, r.sink);
}
bool Sound(const tagSoftData& r) {
  return AllTerminated(r.kindName, r.processName, r.zipName, r.unzipDir);
}
bool Sound(const tagUpdateData& r) {
  return AllTerminated(r.file, r.check);
}
bool Sound(const tagShortCutInfo& r) {
  return Terminated(r.file);
}
bool Sound(const tagWeatherData& r) {
  bool sound = AllTerminated(r.tempF, r.tempC, r.humidity, r.windCondition);
  for (const tagForecastData& f : r.forecasts)
    sound = sound && AllTerminated(f.dayOfWeek, f.low, f.high, f.icon, f.condition);
  return sound;
}

// Each output of a reader as a caller sets it up: a container holding one
// record of zero bytes already (which a reader must keep: it only appends),
// the weather record full of 0xAB, the version's strings "old" and "older".
template <typename T>
T Zero() {
  T record;
  std::memset(static_cast<void*>(&record), 0, sizeof record);
  return record;
}
template <typename T>
void Prepare(CArrayTemplate<T, const T&>& array, std::size_t) {
  array.Add(Zero<T>());
}
template <typename T>
void Prepare(CList<T, const T&>& list, std::size_t) {
  list.AddTail(Zero<T>());
}
void Prepare(tagWeatherData& weather, std::size_t) {
  std::memset(static_cast<void*>(&weather), 0xAB, sizeof weather);
}
void Prepare(CString& text, std::size_t output) {
  text = output == 0 ? "old" : "older";
}

// A record of several arrays: its arrays in the order of its members.
template <typename Info>
constexpr bool kHoldsArrays = false
#define TALVORO_HOLDER(cname, record, holder, member) || std::is_same_v<Info, holder>
    TALVORO_RECORD_MEMBERS(TALVORO_HOLDER)
#undef TALVORO_HOLDER
    ;

// Whether an output still holds the record it held before the call.
template <typename T>
bool Kept(const CArrayTemplate<T, const T&>& array) {
  return array.GetCount() > 0 && std::memcmp(&array[0], &kZeroBytes, sizeof(T)) == 0;
}
template <typename T>
bool Kept(const CList<T, const T&>& list) {
  return !list.IsEmpty() && std::memcmp(&list.GetHead(), &kZeroBytes, sizeof(T)) == 0;
}
template <typename T>
std::enable_if_t<!std::is_class_v<T> || !kHoldsArrays<T>, bool> Kept(const T&) {
  return true;
}

// An output's bytes after the record it held, appended; false when a text
// field is not terminated within its width.
template <typename T>
bool Collect(std::string& bytes, const CArrayTemplate<T, const T&>& array) {
  bool sound = true;
  for (int i = 1; i < array.GetCount(); ++i) {
    Append(bytes, array[i]);
    sound = Sound(array[i]) && sound;
  }
  return sound;
}
template <typename T>
bool Collect(std::string& bytes, const CList<T, const T&>& list) {
  POSITION pos = list.GetHeadPosition();
  if (pos) list.GetNext(pos);
  bool sound = true;
  while (pos) {
    const T& record = list.GetNext(pos);
    Append(bytes, record);
    sound = Sound(record) && sound;
  }
  return sound;
}
bool Collect(std::string& bytes, const tagWeatherData& weather) {
  Append(bytes, weather);
  return Sound(weather);
}
bool Collect(std::string& bytes, const CString& text) {
  bytes += std::to_string(text.GetLength()) + ":" + std::string(text.GetString()) + ";";
  return true;
}
template <typename Info>
std::enable_if_t<kHoldsArrays<Info>> Prepare(Info& info, std::size_t) {
#define TALVORO_PREPARE(cname, record, holder, member) \
  if constexpr (std::is_same_v<Info, holder>) Prepare(info.member, 0);
  TALVORO_RECORD_MEMBERS(TALVORO_PREPARE)
#undef TALVORO_PREPARE
}
template <typename Info>
std::enable_if_t<kHoldsArrays<Info>, bool> Kept(const Info& info) {
  bool kept = true;
#define TALVORO_KEPT(cname, record, holder, member) \
  if constexpr (std::is_same_v<Info, holder>) kept = Kept(info.member) && kept;
  TALVORO_RECORD_MEMBERS(TALVORO_KEPT)
#undef TALVORO_KEPT
  return kept;
}
template <typename Info>
std::enable_if_t<kHoldsArrays<Info>, bool> Collect(std::string& bytes, const Info& info) {
  bool sound = true;
#define TALVORO_COLLECT(cname, record, holder, member) \
  if constexpr (std::is_same_v<Info, holder>) sound = Collect(bytes, info.member) && sound;
  TALVORO_RECORD_MEMBERS(TALVORO_COLLECT)
#undef TALVORO_COLLECT
  return sound;
}

// A reader member of CTinyXmlHelper, run on `path` into fresh outputs (its
// reference parameters): on false the outputs as they were, on true sound.
// A reader member of CTinyXmlHelper, run on `path` into fresh outputs (its
// reference parameters): on false the outputs as they were, on true sound.
template <auto read>
CallOutcome Reader(const std::string& path, const std::string&) {
  MemberCall call(read, path.c_str());
  call.ForEachOutput([](auto& output, std::size_t index) { Prepare(output, index); });
  bool kept = true;
  const auto collect = [&kept](std::string& bytes, const auto& output) {
    kept = Kept(output) && kept;
    return Collect(bytes, output);
  };
  std::string before;
  call.ForEachOutput([&](const auto& output, std::size_t) { collect(before, output); });
  CallOutcome outcome{call(read), "", ""};
  bool sound = true;
  call.ForEachOutput(
      [&](const auto& output, std::size_t) { sound = collect(outcome.bytes, output) && sound; });
  if (!outcome.result && outcome.bytes != before)
    outcome.fault = "changed its outputs and returned false";
  if (outcome.result && !sound) outcome.fault = "a text field without its terminator";
  if (!kept) outcome.fault = "lost or changed a record its container held";
  return outcome;
}

// The file's bytes, or what stands at the path instead; never opens anything
// but a regular file, so it never blocks on a FIFO or a device.
std::string Snapshot(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error) return "<cannot open>";
  if (!std::filesystem::is_regular_file(status)) return "<not a regular file>";
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<cannot open>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Editors and writers: the file afterwards, unchanged when the call failed.
CallOutcome FileOutcome(bool result, const std::string& before, const std::string& path) {
  CallOutcome outcome{result, Snapshot(path), ""};
  if (!result && outcome.bytes != before) outcome.fault = "changed the file and returned false";
  return outcome;
}

CallOutcome SetVersion(const std::string& path, const std::string&) {
  const std::string before = Snapshot(path);
  auto soft = tagSoftData();
  soft.id = 21;
  soft.version = 13;
  CallOutcome outcome =
      FileOutcome(CTinyXmlHelper::SetSoftVersion(soft, path.c_str()), before, path);
  if (outcome.result && outcome.fault.empty()) {
    CList<tagSoftData, const tagSoftData&> list;
    if (!CTinyXmlHelper::GetSoftData(list, path.c_str())) {
      outcome.fault = "the saved document does not read again";
    } else {
      for (POSITION pos = list.GetHeadPosition(); pos;) {
        const tagSoftData& read = list.GetNext(pos);
        if (read.id == soft.id && read.version != soft.version)
          outcome.fault = "a matching component kept its old version";
      }
    }
  }
  return outcome;
}

int CountFile(const CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&>& array,
              const char* file) {
  int count = 0;
  for (int i = 0; i < array.GetCount(); ++i)
    count += std::strcmp(array[i].file, file) == 0;
  return count;
}

CallOutcome DeleteShortcut(const std::string& path, const std::string&) {
  const std::string before = Snapshot(path);
  CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> old, now;
  const bool readable = CTinyXmlHelper::GetShutCutInfo(old, path.c_str());
  auto shortcut = tagShortCutInfo();
  std::strcpy(shortcut.file, "desk.exe");
  CallOutcome outcome =
      FileOutcome(CTinyXmlHelper::DeleteShutCutInfo(path.c_str(), shortcut), before, path);
  if (outcome.result && outcome.fault.empty()) {
    if (!readable || !CTinyXmlHelper::GetShutCutInfo(now, path.c_str())) {
      outcome.fault = "the saved document does not read again";
    } else if (CountFile(now, shortcut.file) != CountFile(old, shortcut.file) - 1 &&
               CountFile(old, shortcut.file) > 0) {
      outcome.fault = "the matching item was not removed";
    } else if (now.GetCount() != old.GetCount() - (CountFile(old, shortcut.file) > 0)) {
      outcome.fault = "other items were lost";
    }
  }
  return outcome;
}

// The example of the document that a writer writes, as the table of
// documents names it.
const char* ExampleOf(const std::string& writer) {
  for (int i = 0; const talvoro::DocumentType* type = talvoro::DocumentTypeAt(i); ++i) {
    std::istringstream writers(type->writers);
    for (std::string name; writers >> name;) {
      if (writer == name) return type->example;
    }
  }
  return nullptr;
}

// Text TinyXML reads back as it was written: every UTF-8 lead byte followed
// by its continuation bytes. (Reading UTF-8, TinyXML takes a lead byte's
// sequence whole, whatever the bytes are, so a stray lead byte swallows what
// follows it; the written documents are declared UTF-8.)
bool Utf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t more = lead >= 0xF0 && lead <= 0xF4   ? 3
                             : lead >= 0xE0 && lead <= 0xEF ? 2
                             : lead >= 0xC2 && lead <= 0xDF ? 1
                                                            : 0;
    for (std::size_t k = 1; k <= more; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
        return false;
    }
    i += more;
  }
  return true;
}

// The text a writer takes from a field: up to its terminator, or the whole
// width when a caller left none.
template <std::size_t W>
std::string Written(const char (&field)[W]) {
  return std::string(field, ::strnlen(field, W));
}

// Written text reads back cut to width - 1 bytes, where it is UTF-8.
template <std::size_t W>
bool ReadsBack(const char (&written)[W], const char (&read)[W]) {
  const std::string text = Written(written);
  return !Utf8(text) || text.substr(0, W - 1) == read;
}

template <typename T>
std::vector<T> Records(const std::string& bytes) {
  std::vector<T> records(bytes.size() / sizeof(T));
  if (!records.empty())
    std::memcpy(static_cast<void*>(records.data()), bytes.data(), records.size() * sizeof(T));
  return records;
}

CallOutcome WriteShortcuts(const std::string& path, const std::string& bytes) {
  const std::string before = Snapshot(path);
  CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> array, read;
  const std::vector<tagShortCutInfo> records = Records<tagShortCutInfo>(bytes);
  for (const tagShortCutInfo& record : records)
    array.Add(record);
  CallOutcome outcome =
      FileOutcome(CTinyXmlHelper::WrittingShutCutInfo(path.c_str(), array), before, path);
  if (outcome.result && outcome.fault.empty()) {
    if (!CTinyXmlHelper::GetShutCutInfo(read, path.c_str())) {
      bool utf8 = true;
      for (const tagShortCutInfo& record : records)
        utf8 = utf8 && Utf8(Written(record.file));
      if (utf8) outcome.fault = "the written document does not read again";
    } else if (read.GetCount() != array.GetCount()) {
      outcome.fault = "a different number of items reads back";
    } else {
      for (int i = 0; i < read.GetCount(); ++i) {
        if (!ReadsBack(array[i].file, read[i].file)) outcome.fault = "an item reads back changed";
      }
    }
  }
  return outcome;
}

CallOutcome WriteUpdates(const std::string& path, const std::string& bytes) {
  const std::string before = Snapshot(path);
  CList<tagUpdateData, const tagUpdateData&> list, read;
  const std::vector<tagUpdateData> records = Records<tagUpdateData>(bytes);
  for (const tagUpdateData& record : records)
    list.AddTail(record);
  CallOutcome outcome =
      FileOutcome(CTinyXmlHelper::WrittingUpdateFile(path.c_str(), list), before, path);
  if (outcome.result && outcome.fault.empty()) {
    if (!CTinyXmlHelper::GetUpdateData(read, path.c_str())) {
      bool utf8 = true;
      for (const tagUpdateData& record : records)
        utf8 = utf8 && Utf8(Written(record.file)) && Utf8(Written(record.check));
      if (utf8) outcome.fault = "the written document does not read again";
    } else if (read.GetCount() != list.GetCount()) {
      outcome.fault = "a different number of items reads back";
    } else {
      POSITION pos = read.GetHeadPosition();
      for (const tagUpdateData& written : records) {
        const tagUpdateData& got = read.GetNext(pos);
        if (!ReadsBack(written.file, got.file) || !ReadsBack(written.check, got.check))
          outcome.fault = "an item reads back changed";
      }
    }
  }
  return outcome;
}

}  // namespace

const std::vector<DocumentCall>& AllCalls() {
  static const std::vector<DocumentCall> calls = {
  // Every reader of the registry, then the writers.
#define TALVORO_READER_CALL(kind, cname, word, name, member, creader, writers, example) \
  {#member, CallKind::kReader, &Reader<&CTinyXmlHelper::member>, example},
      TALVORO_DOCUMENTS(TALVORO_READER_CALL)
#undef TALVORO_READER_CALL
          {"SetSoftVersion", CallKind::kEditor, &SetVersion, ExampleOf("SetSoftVersion")},
      {"DeleteShutCutInfo", CallKind::kEditor, &DeleteShortcut, ExampleOf("DeleteShutCutInfo")},
      {"WrittingShutCutInfo", CallKind::kWriter, &WriteShortcuts, ExampleOf("WrittingShutCutInfo"),
       "GetShutCutInfo"},
      {"WrittingUpdateFile", CallKind::kWriter, &WriteUpdates, ExampleOf("WrittingUpdateFile"),
       "GetUpdateData"},
  };
  return calls;
}

const DocumentCall* FindCall(const std::string& name) {
  for (const DocumentCall& call : AllCalls()) {
    if (name == call.name) return &call;
  }
  return nullptr;
}

}  // namespace testutil

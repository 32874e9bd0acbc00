#include "document_calls.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <system_error>
#include <type_traits>

#include "talvoro/diagnose.h"
#include "talvoro/talvoro.h"

namespace testutil {
namespace {

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

// Appends every element's bytes; false when one of them is not sound.
template <typename T>
bool Collect(std::string& bytes, const CArrayTemplate<T, const T&>& array) {
  bool sound = true;
  for (int i = 0; i < array.GetCount(); ++i) {
    Append(bytes, array[i]);
    sound = sound && Sound(array[i]);
  }
  return sound;
}
template <typename T>
bool Collect(std::string& bytes, const CList<T, const T&>& list) {
  bool sound = true;
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    const T& record = list.GetNext(pos);
    Append(bytes, record);
    sound = sound && Sound(record);
  }
  return sound;
}

void AppendText(std::string& bytes, const CString& text) {
  bytes += std::to_string(text.GetLength()) + ":" + std::string(text.GetString()) + ";";
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

// A reader's outcome: on false nothing appended, on true sound records.
CallOutcome ReaderOutcome(bool result, std::string bytes, bool sound) {
  CallOutcome outcome{result, std::move(bytes), ""};
  if (!result && !outcome.bytes.empty()) outcome.fault = "appended records and returned false";
  if (result && !sound) outcome.fault = "a text field without its terminator";
  return outcome;
}

template <typename Info, typename... Arrays>
CallOutcome ReadArrays(bool (*read)(Info&, CString), const std::string& path,
                       Arrays Info::*... arrays) {
  Info info;
  const bool result = read(info, path.c_str());
  std::string bytes;
  bool sound = true;
  ((sound = Collect(bytes, info.*arrays) && sound), ...);
  return ReaderOutcome(result, std::move(bytes), sound);
}

template <typename Container>
CallOutcome ReadInto(bool (*read)(Container&, CString), const std::string& path) {
  Container container;
  const bool result = read(container, path.c_str());
  std::string bytes;
  const bool sound = Collect(bytes, container);
  return ReaderOutcome(result, std::move(bytes), sound);
}

CallOutcome Weather(const std::string& path, const std::string&) {
  tagWeatherData weather;
  std::memset(static_cast<void*>(&weather), 0xAB, sizeof weather);
  const tagWeatherData before = weather;
  CallOutcome outcome{CTinyXmlHelper::GetWeatherData(weather, path.c_str()), "", ""};
  Append(outcome.bytes, weather);
  if (!outcome.result && std::memcmp(&before, &weather, sizeof weather) != 0)
    outcome.fault = "changed the record and returned false";
  if (outcome.result && !Sound(weather)) outcome.fault = "a text field without its terminator";
  return outcome;
}

CallOutcome Version(const std::string& path, const std::string&) {
  CString version = "old", updateTime = "older";
  CallOutcome outcome{CTinyXmlHelper::GeVersion(path.c_str(), version, updateTime), "", ""};
  AppendText(outcome.bytes, version);
  AppendText(outcome.bytes, updateTime);
  if (!outcome.result && (version != "old" || updateTime != "older"))
    outcome.fault = "changed the strings and returned false";
  return outcome;
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

// The example of the document that the function reads or writes, as the
// table of documents names it.
const char* ExampleOf(const std::string& function) {
  for (int i = 0; const talvoro::DocumentType* type = talvoro::DocumentTypeAt(i); ++i) {
    if (function == type->reader) return type->example;
    std::istringstream writers(type->writers);
    for (std::string writer; writers >> writer;) {
      if (function == writer) return type->example;
    }
  }
  return nullptr;
}

std::vector<DocumentCall> WithExamples(std::vector<DocumentCall> calls) {
  for (DocumentCall& call : calls)
    call.example = ExampleOf(call.name);
  return calls;
}

}  // namespace

const std::vector<DocumentCall>& AllCalls() {
  using H = CTinyXmlHelper;
  static const std::vector<DocumentCall> calls = WithExamples({
      {"GetServiceData", CallKind::kReader,
       [](const std::string& path, const std::string&) {
         return ReadArrays(&H::GetServiceData, path, &tagServerListInfo::types,
                           &tagServerListInfo::kinds, &tagServerListInfo::servers);
       },
       nullptr},
      {"GetPartData", CallKind::kReader,
       [](const std::string& path, const std::string&) {
         return ReadArrays(&H::GetPartData, path, &tagPartListInfo::parts,
                           &tagPartListInfo::subParts);
       },
       nullptr},
      {"GetWeatherData", CallKind::kReader, &Weather, nullptr},
      {"GetAreaData", CallKind::kReader,
       [](const std::string& path, const std::string&) {
         return ReadArrays(&H::GetAreaData, path, &tagZoneAreaArray::zones,
                           &tagZoneAreaArray::areas);
       },
       nullptr},
      {"GetSrvData", CallKind::kReader,
       [](const std::string& path, const std::string&) { return ReadInto(&H::GetSrvData, path); },
       nullptr},
      {"GetSrvServiceData", CallKind::kReader,
       [](const std::string& path, const std::string&) {
         return ReadInto(&H::GetSrvServiceData, path);
       },
       nullptr},
      {"GeVersion", CallKind::kReader, &Version, nullptr},
      {"GetSoftData", CallKind::kReader,
       [](const std::string& path, const std::string&) { return ReadInto(&H::GetSoftData, path); },
       nullptr},
      {"GetUpdateData", CallKind::kReader,
       [](const std::string& path, const std::string&) {
         return ReadInto(&H::GetUpdateData, path);
       },
       nullptr},
      {"GetShutCutInfo", CallKind::kReader,
       [](const std::string& path, const std::string&) {
         return ReadInto(&H::GetShutCutInfo, path);
       },
       nullptr},
      {"SetSoftVersion", CallKind::kEditor, &SetVersion, nullptr},
      {"DeleteShutCutInfo", CallKind::kEditor, &DeleteShortcut, nullptr},
      {"WrittingShutCutInfo", CallKind::kWriter, &WriteShortcuts, nullptr, "GetShutCutInfo"},
      {"WrittingUpdateFile", CallKind::kWriter, &WriteUpdates, nullptr, "GetUpdateData"},
  });
  return calls;
}

const DocumentCall* FindCall(const std::string& name) {
  for (const DocumentCall& call : AllCalls()) {
    if (name == call.name) return &call;
  }
  return nullptr;
}

}  // namespace testutil

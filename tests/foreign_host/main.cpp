// A host with a framework of its own (framework.h) that reads through the
// host helper: every reader on its example and its fuzz corpus, printed as
// the reference program prints the exported class's records, so that a test
// compares the two; and, with --throw, what becomes of its exception.
//
//   talvoro_foreign_host            one line per reader and document
//   talvoro_foreign_host --throw    exit 0 when a container's exception
//                                   passes with the records before it kept
#include <cstdio>
#include <cstring>
#include <string>

#include "framework.h"
#include "talvoro/host_helper.h"

// The host's own containers of records, as its headers declare them.
struct tagServerListInfo {
  CArray<tagServiceTypeInfo, const tagServiceTypeInfo&> types;
  CArray<tagServiceKindInfo, const tagServiceKindInfo&> kinds;
  CArray<tagServiceServerInfo, const tagServiceServerInfo&> servers;
};
struct tagPartListInfo {
  CArray<tagPartInfo, const tagPartInfo&> parts;
  CArray<tagSubPartInfo, const tagSubPartInfo&> subParts;
};
struct tagZoneAreaArray {
  CArray<tagZoneInfo, const tagZoneInfo&> zones;
  CArray<tagAreaInfo, const tagAreaInfo&> areas;
};

using CTinyXmlHelper = talvoro::HostHelper;

#include "records_dump.h"

namespace {

template <class T>
void Append(std::string& bytes, const T& record) {
  bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
}
template <class T, class ARG>
void Append(std::string& bytes, CArray<T, ARG>& array) {
  for (int i = 0; i < array.GetCount(); ++i)
    Append(bytes, array.ElementAt(i));
}
template <class T, class ARG>
void Append(std::string& bytes, CList<T, ARG>& list) {
  for (POSITION position = list.GetHeadPosition(); position;)
    Append(bytes, list.GetNext(position));
}

// The reader's result and every byte it left in the containers, as the
// reference program gives them.
std::pair<bool, std::string> Read(const std::string& name, const char* path) {
  std::string bytes;
  bool result = false;
  if (name == "GetServiceData") {
    tagServerListInfo info;
    result = CTinyXmlHelper::GetServiceData(info, path);
    Append(bytes, info.types), Append(bytes, info.kinds), Append(bytes, info.servers);
  } else if (name == "GetPartData") {
    tagPartListInfo info;
    result = CTinyXmlHelper::GetPartData(info, path);
    Append(bytes, info.parts), Append(bytes, info.subParts);
  } else if (name == "GetAreaData") {
    tagZoneAreaArray info;
    result = CTinyXmlHelper::GetAreaData(info, path);
    Append(bytes, info.zones), Append(bytes, info.areas);
  } else if (name == "GetWeatherData") {
    tagWeatherData weather;
    std::memset(static_cast<void*>(&weather), 0xAB, sizeof weather);
    result = CTinyXmlHelper::GetWeatherData(weather, path);
    Append(bytes, weather);
  } else if (name == "GetSrvData") {
    CList<tagSrvData, const tagSrvData&> list;
    result = CTinyXmlHelper::GetSrvData(list, path);
    Append(bytes, list);
  } else if (name == "GetSrvServiceData") {
    CList<tagSrvService, const tagSrvService&> list;
    result = CTinyXmlHelper::GetSrvServiceData(list, path);
    Append(bytes, list);
  } else if (name == "GeVersion") {
    CString version = "old", updateTime = "older";
    result = CTinyXmlHelper::GeVersion(path, version, updateTime);
    for (const CString* text : {&version, &updateTime})
      bytes += std::to_string(text->GetLength()) + ":" + static_cast<const char*>(*text) + ";";
  } else if (name == "GetSoftData") {
    CList<tagSoftData, const tagSoftData&> list;
    result = CTinyXmlHelper::GetSoftData(list, path);
    Append(bytes, list);
  } else if (name == "GetUpdateData") {
    CList<tagUpdateData, const tagUpdateData&> list;
    result = CTinyXmlHelper::GetUpdateData(list, path);
    Append(bytes, list);
  } else if (name == "GetShutCutInfo") {
    CArray<tagShortCutInfo, const tagShortCutInfo&> array;
    result = CTinyXmlHelper::GetShutCutInfo(array, path);
    Append(bytes, array);
  }
  return {result, bytes};
}

// The host's array throws on its third server: the exception reaches the
// caller, with the two servers and the records before them kept.
int Throw() {
  tagServerListInfo info;
  info.servers.failAt = 2;
  try {
    CTinyXmlHelper::GetServiceData(info, TALVORO_EXAMPLES_DIR "/services.xml");
    std::puts("no exception");
    return 1;
  } catch (const CForeignError& error) {
    if (error.code != 2 || info.servers.GetCount() != 2 || info.kinds.GetCount() != 2 ||
        info.types.GetCount() != 1 ||
        std::strcmp(info.types.ElementAt(0).typeName, "Market data")) {
      std::puts("the records before the exception are not as appended");
      return 1;
    }
  }
  // The same helper reads on afterwards: nothing was left half done.
  tagServerListInfo again;
  if (!CTinyXmlHelper::GetServiceData(again, TALVORO_EXAMPLES_DIR "/services.xml") ||
      again.servers.GetCount() != 5) {
    std::puts("a read after the exception fails");
    return 1;
  }
  // The writers take the host's containers too.
  CArray<tagShortCutInfo, const tagShortCutInfo&> shortcuts;
  tagShortCutInfo shortcut = {};
  std::strcpy(shortcut.file, "quote.exe");
  shortcuts.Add(shortcut);
  const char* path = "foreign-host-shortcuts.xml";
  CArray<tagShortCutInfo, const tagShortCutInfo&> read;
  if (!CTinyXmlHelper::WrittingShutCutInfo(path, shortcuts) ||
      !CTinyXmlHelper::GetShutCutInfo(read, path) || read.GetCount() != 1 ||
      std::strcmp(read.ElementAt(0).file, "quote.exe") != 0 ||
      !CTinyXmlHelper::DeleteShutCutInfo(path, shortcut) || std::remove(path) != 0) {
    std::puts("the shortcut writers do not work with the host's array");
    return 1;
  }
  std::puts("ok");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--throw") == 0) return Throw();
  return DumpRecords(Read);
}

// The table of document kinds: one row per document that the library reads,
// in the order of DocumentKind. Everything that treats the documents alike
// reads it: the diagnosis, the inspector (through DocumentTypeAt), the test
// tables, the fuzz targets and the benchmarks, and the build, which takes
// the words and function names of its lists from these rows (see
// cmake/documents.cmake). Adding a document means a row here, its reader's
// file and its member of CTinyXmlHelper.
#include <tuple>

#include "frame/documents.h"

namespace talvoro {
namespace {

// Runs `reader` on a document into containers of its own.
template <typename... Containers>
struct Diagnosed {
  template <Status (*reader)(const Document&, const TiXmlElement&, Containers&...)>
  static Status With(Document& doc, const char* path) {
    std::tuple<Containers...> containers;
    return std::apply([&](Containers&... each) { return ReadDocument(doc, path, reader, each...); },
                      containers);
  }
};

template <typename T>
using List = CList<T, const T&>;
template <typename T>
using Array = CArrayTemplate<T, const T&>;

using Kind = DocumentKind;

// Each row on one line, as the build reads them: kind, word, name, reader,
// writers, example, then how it is diagnosed.
// clang-format off
constexpr DocumentRow kDocuments[] = {
  {{Kind::kServices, "services", "service list", "GetServiceData", "", "services.xml"}, Diagnosed<tagServerListInfo>::With<ReadServiceList>},
  {{Kind::kParts, "parts", "part list", "GetPartData", "", "parts.xml"}, Diagnosed<tagPartListInfo>::With<ReadPartList>},
  {{Kind::kZones, "zones", "zone area list", "GetAreaData", "", "zones.xml"}, Diagnosed<tagZoneAreaArray>::With<ReadZoneAreas>},
  {{Kind::kWeather, "weather", "weather report", "GetWeatherData", "", "weather.xml"}, Diagnosed<tagWeatherData>::With<ReadWeather>},
  {{Kind::kServers, "servers", "server list", "GetSrvData", "", "servers.xml"}, Diagnosed<List<tagSrvData>>::With<ReadServerList>},
  {{Kind::kServerServices, "server-services", "server service list", "GetSrvServiceData", "", "server-services.xml"}, Diagnosed<List<tagSrvService>>::With<ReadServerServices>},
  {{Kind::kVersion, "version", "version stamp", "GeVersion", "", "version.xml"}, Diagnosed<CString, CString>::With<ReadVersion>},
  {{Kind::kSoftware, "software", "software component list", "GetSoftData", "SetSoftVersion", "software.xml"}, Diagnosed<List<tagSoftData>>::With<ReadSoftware>},
  {{Kind::kShortcuts, "shortcuts", "shortcut list", "GetShutCutInfo", "DeleteShutCutInfo WrittingShutCutInfo", "shortcuts.xml"}, Diagnosed<Array<tagShortCutInfo>>::With<ReadShortcuts>},
  {{Kind::kUpdates, "updates", "update list", "GetUpdateData", "WrittingUpdateFile", "updates.xml"}, Diagnosed<List<tagUpdateData>>::With<ReadUpdates>},
};
// clang-format on

constexpr int kCount = static_cast<int>(sizeof kDocuments / sizeof kDocuments[0]);

constexpr bool InKindOrder() {
  for (int i = 0; i < kCount; ++i) {
    if (static_cast<int>(kDocuments[i].type.kind) != i) return false;
  }
  return true;
}
static_assert(InKindOrder(), "the rows follow DocumentKind");

}  // namespace

const DocumentRow* FindDocument(DocumentKind kind) {
  const int index = static_cast<int>(kind);
  return index >= 0 && index < kCount ? &kDocuments[index] : nullptr;
}

const DocumentType* DocumentTypeAt(int index) {
  return index >= 0 && index < kCount ? &kDocuments[index].type : nullptr;
}

}  // namespace talvoro

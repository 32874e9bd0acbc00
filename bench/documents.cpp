#include "documents.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include <benchmark/benchmark.h>
#include <tinyxml.h>

#include "member_call.h"
#include "talvoro/c.h"
#include "talvoro/diagnose.h"
#include "talvoro/talvoro.h"

namespace bench {
namespace {

// Repeats `item(i)` between `head` and `tail` until the text reaches `bytes`.
template <typename Item>
std::string Grow(std::size_t bytes, const std::string& head, const std::string& tail, Item item) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n" + head;
  for (int i = 0; xml.size() + tail.size() < bytes || i == 0; ++i)
    xml += item(i);
  return xml + tail;
}

std::string N(int i) {
  return std::to_string(i);
}

// Touches an attribute the way a reader does, so the baseline does the same lookups.
void Touch(const TiXmlElement* e, const char* name) {
  const char* v = e->Attribute(name);
  benchmark::DoNotOptimize(v);
}
void TouchAll(const TiXmlElement* e, std::initializer_list<const char*> names) {
  for (const char* name : names)
    Touch(e, name);
}

bool Load(TiXmlDocument& doc, const std::string& path) {
  return doc.LoadFile(path.c_str());
}

// A baseline that loads with TinyXML and walks children of the document
// element by position, `levels` deep, touching `names[level]` on each.
std::function<void()> WalkBaseline(const std::string& path,
                                   std::vector<std::vector<const char*>> names,
                                   const char* childName = nullptr) {
  return [path, names, childName] {
    TiXmlDocument doc;
    Load(doc, path);
    const TiXmlElement* root = doc.FirstChildElement();
    struct Level {
      static void Walk(const TiXmlElement* parent, const std::vector<std::vector<const char*>>& n,
                       std::size_t depth, const char* name) {
        if (depth == n.size()) return;
        for (const TiXmlElement* e = name ? parent->FirstChildElement(name)
                                          : parent->FirstChildElement();
             e; e = name ? e->NextSiblingElement(name) : e->NextSiblingElement()) {
          for (const char* attr : n[depth])
            Touch(e, attr);
          Walk(e, n, depth + 1, nullptr);
        }
      }
    };
    Level::Walk(root, names, 0, childName);
  };
}

std::string ServiceList(std::size_t bytes) {
  return Grow(bytes, "<services>\n", "</services>\n", [](int t) {
    std::string s =
        "  <type id=\"" + N(t) + "\" depend=\"0\" typeName=\"Service type " + N(t) + "\">\n";
    for (int k = 0; k < 4; ++k) {
      s += "    <kind id=\"" + N(t * 10 + k) + "\" depend=\"" + N(k) + "\" version=\"" + N(k + 3) +
           "\" kindName=\"Component " + N(k) + "\" processName=\"proc" + N(k) +
           ".exe\" zipName=\"proc" + N(k) + ".zip\" UnzipDir=\"proc" + N(k) +
           "\" selfstock=\"SH600000;SZ000001\">\n";
      for (int v = 0; v < 3; ++v) {
        s += "      <server id=\"" + N(v) + "\" port=\"443\" ip=\"10.20.1." + N(v) +
             "\" serverName=\"Server " + N(v) + "\" />\n";
      }
      s += "    </kind>\n";
    }
    return s + "  </type>\n";
  });
}

std::string PartList(std::size_t bytes) {
  return Grow(bytes, "<parts>\n", "</parts>\n", [](int p) {
    std::string s = "  <part id=\"" + N(p) + "\" Name=\"Part " + N(p) +
                    "\" Url=\"https://portal.example.net/part/" + N(p) + "\">\n";
    for (int c = 0; c < 3; ++c) {
      s += "    <sub id=\"" + N(p * 10 + c) + "\" Name=\"Sub " + N(c) +
           "\" Url=\"https://portal.example.net/sub/" + N(c) + "\" target=\"" + N(c) + "\" />\n";
    }
    return s + "  </part>\n";
  });
}

std::string Weather(std::size_t bytes) {
  const std::string head =
      "<xml_api_reply version=\"1\">\n<weather mobile_zipped=\"1\">\n"
      "  <forecaste_infomation city=\"Shanghai\" />\n"
      "  <current_conditions><temp_f Data=\"68\" /><temp_c Data=\"20\" />"
      "<humidity Data=\"55%\" /><wind_condition Data=\"NE 12 km/h\" /></current_conditions>\n";
  return Grow(bytes, head, "</weather>\n</xml_api_reply>\n", [](int d) {
    return "  <forecast_conditions><day_of_week Data=\"D" + N(d % 7) +
           "\" /><low Data=\"12\" /><high Data=\"21\" /><icon "
           "Data=\"/ig/images/weather/sunny.gif\" />"
           "<condition Data=\"Sunny\" /></forecast_conditions>\n";
  });
}

std::string ZoneArea(std::size_t bytes) {
  return Grow(bytes, "<zonearea>\n", "</zonearea>\n", [](int i) {
    if (i % 5 == 0) return "  <Zone><ID>" + N(i) + "</ID><Name>Zone " + N(i) + "</Name></Zone>\n";
    return "  <Area><ID>" + N(i) + "</ID><ZoneID>" + N(i / 5 * 5) + "</ZoneID><Name>Area " + N(i) +
           "</Name><Extra>0</Extra></Area>\n";
  });
}

std::string ServerList(std::size_t bytes) {
  return Grow(bytes, "<servers>\n", "</servers>\n", [](int i) {
    return "  <server id=\"" + N(i) + "\" serverName=\"Server " + N(i) + "\" ip=\"10.30.0." +
           N(i % 250) + "\" port=\"7001\" />\n";
  });
}

std::string ServerServices(std::size_t bytes) {
  return Grow(bytes, "<services>\n", "</services>\n", [](int i) {
    return "  <service id=\"" + N(i) + "\" serviceName=\"Service " + N(i) + "\" sink=\"sink" +
           N(i % 7) + "\" run=\"" + N(i % 2) + "\" />\n";
  });
}

std::string Version(std::size_t bytes) {
  return Grow(bytes, "<version version=\"1.0.3\" updatetime=\"2026-05-20 08:30\">\n",
              "</version>\n",
              [](int i) { return "  <note id=\"" + N(i) + "\" text=\"release note line\" />\n"; });
}

std::string Software(std::size_t bytes) {
  return Grow(bytes, "<software>\n", "</software>\n", [](int g) {
    std::string s = "  <group name=\"Group " + N(g) + "\">\n";
    for (int c = 0; c < 4; ++c) {
      s += "    <component id=\"" + N(g * 4 + c) + "\" depend=\"" + N(c) + "\" version=\"" +
           N(c + 1) + "\" kindName=\"Component " + N(c) + "\" processName=\"proc" + N(c) +
           ".exe\" zipName=\"proc" + N(c) + ".zip\" UnzipDir=\"proc" + N(c) + "\" />\n";
    }
    return s + "  </group>\n";
  });
}

std::string Updates(std::size_t bytes) {
  return Grow(bytes, "<items>\n", "</items>\n", [](int i) {
    return "    <item file=\"bin/module" + N(i) + ".dll\" check=\"9f86d081884c7d659a2feaa0c55ad0" +
           N(i) + "\"></item>\n";
  });
}

std::string Shortcuts(std::size_t bytes) {
  return Grow(bytes, "<items>\n", "</items>\n", [](int i) {
    return "    <item file=\"C:/Trader/tools/tool" + N(i) + ".exe\"></item>\n";
  });
}

// A reader member of CTinyXmlHelper called as a host calls it, into fresh
// outputs.
template <auto read>
void CallReader(const std::string& path) {
  testutil::MemberCall call(read, path.c_str());
  benchmark::DoNotOptimize(call(read));
}

// The exported class's reader of every document, by its name.
std::function<void(const std::string&)> LibraryReader(const std::string& function) {
#define TALVORO_BENCH_READER(kind, cname, word, name, member, creader, writers, example) \
  if (function == #member) return &CallReader<&CTinyXmlHelper::member>;
  TALVORO_DOCUMENTS(TALVORO_BENCH_READER)
#undef TALVORO_BENCH_READER
  return {};
}

// Builds the same "items" document as the writers, for the in-place baseline.
template <typename Fill>
void SaveItemsInPlace(const std::string& path, int count, Fill fill) {
  TiXmlDocument doc;
  doc.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", "yes"));
  auto* items = new TiXmlElement("items");
  doc.LinkEndChild(items);
  for (int i = 0; i < count; ++i) {
    auto* item = new TiXmlElement("item");
    items->LinkEndChild(item);
    fill(*item, i);
    item->LinkEndChild(new TiXmlText(""));
  }
  doc.SaveFile(path.c_str());
}

// The cases of every function that the library's table of documents names,
// each document's reader first, then its writers; a function without a case
// stops the program.
std::vector<Case> InTableOrder(std::vector<Case> cases) {
  std::vector<Case> ordered;
  const auto take = [&](const std::string& function) {
    for (Case& c : cases) {
      if (c.name == function) {
        ordered.push_back(std::move(c));
        return;
      }
    }
    std::fprintf(stderr, "no benchmark for %s\n", function.c_str());
    std::abort();
  };
  for (int i = 0; const talvoro::DocumentType* type = talvoro::DocumentTypeAt(i); ++i) {
    take(type->reader);
    std::istringstream writers(type->writers);
    for (std::string writer; writers >> writer;)
      take(writer);
  }
  return ordered;
}

}  // namespace

std::vector<Case> DocumentCases() {
  using Fn = std::function<void()>;
  std::vector<Case> cases;
  // A reader, called as the registry names it, and its baseline's walk.
  auto reader = [&cases](std::string name, std::string (*make)(std::size_t),
                         std::vector<std::vector<const char*>> names, const char* child = nullptr) {
    cases.push_back(
        {name, make,
         [call = LibraryReader(name), names, child](const std::string& path, Fn& lib, Fn& base) {
           lib = [path, call] { call(path); };
           base = WalkBaseline(path, names, child);
         }});
  };

  reader(
      "GetServiceData", ServiceList,
      {{"id", "depend", "typeName"},
       {"id", "depend", "version", "kindName", "processName", "zipName", "UnzipDir", "selfstock"},
       {"id", "port", "ip", "serverName"}});

  reader("GetPartData", PartList, {{"id", "Name", "Url"}, {"id", "Name", "Url", "target"}});

  cases.push_back({"GetWeatherData", Weather, [](const std::string& path, Fn& lib, Fn& base) {
                     lib = [path, call = LibraryReader("GetWeatherData")] { call(path); };
                     base = [path] {
                       TiXmlDocument doc;
                       Load(doc, path);
                       const TiXmlElement* weather =
                           doc.FirstChildElement()->FirstChildElement("weather");
                       const TiXmlElement* now = weather->FirstChildElement("current_conditions");
                       for (const char* n : {"temp_f", "temp_c", "humidity", "wind_condition"}) {
                         Touch(now->FirstChildElement(n), "Data");
                       }
                       const TiXmlElement* day = weather->FirstChildElement("forecast_conditions");
                       for (int i = 0; i < 4 && day;
                            ++i, day = day->NextSiblingElement("forecast_conditions")) {
                         for (const char* n : {"day_of_week", "low", "high", "icon", "condition"}) {
                           Touch(day->FirstChildElement(n), "Data");
                         }
                       }
                     };
                   }});

  cases.push_back({"GetAreaData", ZoneArea, [](const std::string& path, Fn& lib, Fn& base) {
                     lib = [path, call = LibraryReader("GetAreaData")] { call(path); };
                     base = [path] {
                       TiXmlDocument doc;
                       Load(doc, path);
                       for (const TiXmlElement* item = doc.FirstChildElement()->FirstChildElement();
                            item; item = item->NextSiblingElement()) {
                         const bool zone = std::strcmp(item->Value(), "Zone") == 0;
                         const TiXmlElement* child = item->FirstChildElement();
                         for (int i = 0; i < (zone ? 2 : 4) && child;
                              ++i, child = child->NextSiblingElement()) {
                           const TiXmlNode* value = child->FirstChild();
                           benchmark::DoNotOptimize(value ? value->Value() : nullptr);
                         }
                       }
                     };
                   }});

  reader("GetSrvData", ServerList, {{"id", "serverName", "ip", "port"}});

  reader("GetSrvServiceData", ServerServices, {{"id", "serviceName", "sink", "run"}});

  cases.push_back({"GeVersion", Version, [](const std::string& path, Fn& lib, Fn& base) {
                     lib = [path, call = LibraryReader("GeVersion")] { call(path); };
                     base = [path] {
                       TiXmlDocument doc;
                       Load(doc, path);
                       TouchAll(doc.FirstChildElement(), {"version", "updatetime"});
                     };
                   }});

  reader("GetSoftData", Software,
         {{}, {"id", "depend", "version", "kindName", "processName", "zipName", "UnzipDir"}});

  reader("GetUpdateData", Updates, {{"file", "check"}}, "item");

  reader("GetShutCutInfo", Shortcuts, {{"file"}}, "item");

  // The same calls into arrays that the caller reserved for every record
  // beforehand: the difference to the plain rows is what growing one record
  // at a time by the automatic step costs.
  cases.push_back(
      {"GetServiceData(reserved)", ServiceList, [](const std::string& path, Fn& lib, Fn& base) {
         tagServerListInfo counted;
         CTinyXmlHelper::GetServiceData(counted, path.c_str());
         const int counts[] = {counted.types.GetCount(), counted.kinds.GetCount(),
                               counted.servers.GetCount()};
         lib = [path, counts] {
           tagServerListInfo info;
           info.types.Reserve(counts[0]);
           info.kinds.Reserve(counts[1]);
           info.servers.Reserve(counts[2]);
           CTinyXmlHelper::GetServiceData(info, path.c_str());
           benchmark::DoNotOptimize(info.servers.GetData());
         };
         base = WalkBaseline(path, {{"id", "depend", "typeName"},
                                    {"id", "depend", "version", "kindName", "processName",
                                     "zipName", "UnzipDir", "selfstock"},
                                    {"id", "port", "ip", "serverName"}});
       }});
  cases.push_back(
      {"GetShutCutInfo(reserved)", Shortcuts, [](const std::string& path, Fn& lib, Fn& base) {
         CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> counted;
         CTinyXmlHelper::GetShutCutInfo(counted, path.c_str());
         const int count = counted.GetCount();
         lib = [path, count] {
           CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> array;
           array.Reserve(count);
           CTinyXmlHelper::GetShutCutInfo(array, path.c_str());
           benchmark::DoNotOptimize(array.GetData());
         };
         base = WalkBaseline(path, {{"file"}}, "item");
       }});

  // Writers: the baseline is TinyXML's load (where the writer loads), the
  // same change, and its in-place SaveFile.
  cases.push_back({"SetSoftVersion", Software, [](const std::string& path, Fn& lib, Fn& base) {
                     lib = [path] {
                       tagSoftData soft = {};
                       soft.id = 1;
                       soft.version = 42;
                       CTinyXmlHelper::SetSoftVersion(soft, path.c_str());
                     };
                     base = [path] {
                       TiXmlDocument doc;
                       Load(doc, path);
                       for (TiXmlElement* group = doc.FirstChildElement()->FirstChildElement();
                            group; group = group->NextSiblingElement()) {
                         for (TiXmlElement* c = group->FirstChildElement(); c;
                              c = c->NextSiblingElement()) {
                           const char* id = c->Attribute("id");
                           if (static_cast<std::int16_t>(std::atoi(id ? id : "")) == 1)
                             c->SetAttribute("version", 42);
                         }
                       }
                       doc.SaveFile(path.c_str());
                     };
                   }});

  cases.push_back(
      {"DeleteShutCutInfo", Shortcuts, [](const std::string& path, Fn& lib, Fn& base) {
         // No item matches, so every call rewrites the same document.
         lib = [path] {
           tagShortCutInfo none = {};
           std::strcpy(none.file, "no such shortcut");
           CTinyXmlHelper::DeleteShutCutInfo(path.c_str(), none);
         };
         base = [path] {
           TiXmlDocument doc;
           Load(doc, path);
           for (const TiXmlElement* item = doc.FirstChildElement()->FirstChildElement("item"); item;
                item = item->NextSiblingElement("item")) {
             const char* file = item->Attribute("file");
             benchmark::DoNotOptimize(std::strcmp(file ? file : "", "no such shortcut"));
           }
           doc.SaveFile(path.c_str());
         };
       }});

  cases.push_back(
      {"WrittingUpdateFile", Updates, [](const std::string& path, Fn& lib, Fn& base) {
         auto list = std::make_shared<CList<tagUpdateData, const tagUpdateData&>>();
         CTinyXmlHelper::GetUpdateData(*list, path.c_str());
         lib = [path, list] { CTinyXmlHelper::WrittingUpdateFile(path.c_str(), *list); };
         base = [path, list] {
           POSITION pos = list->GetHeadPosition();
           SaveItemsInPlace(path + ".baseline", list->GetCount(), [&](TiXmlElement& item, int) {
             const tagUpdateData& u = list->GetNext(pos);
             item.SetAttribute("file", u.file);
             item.SetAttribute("check", u.check);
           });
         };
       }});

  cases.push_back(
      {"WrittingShutCutInfo", Shortcuts, [](const std::string& path, Fn& lib, Fn& base) {
         auto array = std::make_shared<CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&>>();
         CTinyXmlHelper::GetShutCutInfo(*array, path.c_str());
         lib = [path, array] { CTinyXmlHelper::WrittingShutCutInfo(path.c_str(), *array); };
         base = [path, array] {
           SaveItemsInPlace(path + ".baseline", array->GetCount(), [&](TiXmlElement& item, int i) {
             item.SetAttribute("file", (*array)[i].file);
           });
         };
       }});
  return InTableOrder(std::move(cases));
}

namespace {

using CReader = talvoro_reason(TALVORO_CALL*)(const char*, const talvoro_sink*, talvoro_outcome*);

// The C interface's reader of the document that the CTinyXmlHelper function
// `function` reads; null for a function that is not a reader.
CReader CReaderOf(const std::string& function) {
  static const std::map<std::string, CReader> readers = {
#define TALVORO_BENCH_C_READER(kind, cname, word, name, member, creader, writers, example) \
  {#member, &creader},
      TALVORO_DOCUMENTS(TALVORO_BENCH_C_READER)
#undef TALVORO_BENCH_C_READER
  };
  const auto reader = readers.find(function);
  return reader == readers.end() ? nullptr : reader->second;
}

}  // namespace

std::size_t RecordsOf(const std::string& function, const std::string& path) {
  const CReader read = CReaderOf(function.substr(0, function.find('(')));
  if (!read) return 0;
  std::size_t records = 0;
  talvoro_sink sink{};
  sink.size = sizeof sink;
  sink.context = &records;
  sink.record = [](void* context, talvoro_array, const void*) {
    ++*static_cast<std::size_t*>(context);
    return 0;
  };
  read(path.c_str(), &sink, nullptr);
  return records;
}

std::function<void()> CInterfaceCall(const std::string& function, const std::string& path) {
  const CReader read = CReaderOf(function);
  if (!read) return {};
  return [read, path] {
    std::vector<char> arrays[TALVORO_ARRAY_END_];
    talvoro_sink sink{};
    sink.size = sizeof sink;
    sink.context = arrays;
    sink.reserve = [](void* context, talvoro_array array, int count) {
      auto& to = static_cast<std::vector<char>*>(context)[array];
      to.reserve(to.size() + static_cast<std::size_t>(count) * talvoro_record_size(array));
      return 0;
    };
    sink.record = [](void* context, talvoro_array array, const void* record) {
      auto& to = static_cast<std::vector<char>*>(context)[array];
      const char* bytes = static_cast<const char*>(record);
      to.insert(to.end(), bytes, bytes + talvoro_record_size(array));
      return 0;
    };
    read(path.c_str(), &sink, nullptr);
    benchmark::DoNotOptimize(arrays);
  };
}

}  // namespace bench

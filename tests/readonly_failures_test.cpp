// What every read-only document function does with a document it cannot read,
// and with one whose document element holds nothing.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "talvoro/talvoro.h"
#include "test_util.h"

namespace {

// The caller's containers and outputs, each holding something already.
struct Outputs {
  Outputs() {
    parts.parts.Add(testutil::Zeroed<tagPartInfo>());
    zones.areas.Add(testutil::Zeroed<tagAreaInfo>());
    std::memset(static_cast<void*>(&weather), 0xAB, sizeof weather);
    servers.AddTail(testutil::Zeroed<tagSrvData>());
    services.AddTail(testutil::Zeroed<tagSrvService>());
  }
  // Calls every reader on `path`; how many of them returned true.
  int ReadAll(const CString& path) {
    return CTinyXmlHelper::GetPartData(parts, path) + CTinyXmlHelper::GetAreaData(zones, path) +
           CTinyXmlHelper::GetWeatherData(weather, path) +
           CTinyXmlHelper::GetSrvData(servers, path) +
           CTinyXmlHelper::GetSrvServiceData(services, path) +
           CTinyXmlHelper::GeVersion(path, version, updateTime);
  }
  bool AsBefore() const {
    tagWeatherData garbage;
    std::memset(static_cast<void*>(&garbage), 0xAB, sizeof garbage);
    return parts.parts.GetCount() == 1 && parts.subParts.GetData() == nullptr &&
           zones.areas.GetCount() == 1 && zones.zones.GetData() == nullptr &&
           testutil::SameBytes(garbage, weather) && servers.GetCount() == 1 &&
           services.GetCount() == 1 && version == "old" && updateTime == "older";
  }

  tagPartListInfo parts;
  tagZoneAreaArray zones;
  tagWeatherData weather;
  CList<tagSrvData, const tagSrvData&> servers;
  CList<tagSrvService, const tagSrvService&> services;
  CString version = "old";
  CString updateTime = "older";
};

TEST(ReadOnlyDocuments, UnreadableDocumentsChangeNothing) {
  testutil::TempDir dir;
  const std::string failing[] = {
      "",                                     // empty
      "  \n\t",                               // white space only
      "<?xml version='1.0'?><!-- only -->",   // no element
      "<r><Zone><ID>1</ID></Zone>",           // not closed
      "<r><weather Data='1'></weather></x>",  // mismatched end tag
  };
  for (const std::string& xml : failing) {
    testutil::WriteFile(dir / "doc.xml", xml);
    Outputs outputs;
    EXPECT_EQ(outputs.ReadAll((dir / "doc.xml").c_str()), 0) << xml;
    EXPECT_TRUE(outputs.AsBefore()) << xml;
  }
  for (const std::string& path : {dir / "missing.xml", dir.path()}) {
    Outputs outputs;
    EXPECT_EQ(outputs.ReadAll(path.c_str()), 0) << path;
    EXPECT_TRUE(outputs.AsBefore()) << path;
  }
}

TEST(ReadOnlyDocuments, AnEmptyDocumentElementAppendsNothing) {
  testutil::TempDir dir;
  testutil::WriteFile(dir / "doc.xml", "<r>text<!-- c --></r>");
  Outputs outputs;
  // Every reader but the weather, which needs its "weather" element.
  EXPECT_EQ(outputs.ReadAll((dir / "doc.xml").c_str()), 5);
  EXPECT_EQ(outputs.version, "");
  EXPECT_EQ(outputs.updateTime, "");
  outputs.version = "old";
  outputs.updateTime = "older";
  EXPECT_TRUE(outputs.AsBefore());
}

}  // namespace

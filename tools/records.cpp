// Each element record as JSON: its fields in their order, those the library
// never sets (spare, reserved) left out.
#include "inspector.h"

namespace inspector {

Json RecordJson(const tagServiceTypeInfo& r) {
  return {{"id", r.id}, {"depend", r.depend}, {"typeName", Text(r.typeName)}};
}

Json RecordJson(const tagServiceKindInfo& r) {
  return {{"typeId", r.typeId},
          {"id", r.id},
          {"depend", r.depend},
          {"version", r.version},
          {"kindName", Text(r.kindName)},
          {"processName", Text(r.processName)},
          {"zipName", Text(r.zipName)},
          {"unzipDir", Text(r.unzipDir)},
          {"selfstock", Text(r.selfstock)}};
}

Json RecordJson(const tagServiceServerInfo& r) {
  return {{"kindId", r.kindId},   {"kindDepend", r.kindDepend}, {"id", r.id},
          {"port", Text(r.port)}, {"ip", Text(r.ip)},           {"serverName", Text(r.serverName)}};
}

Json RecordJson(const tagPartInfo& r) {
  return {{"id", r.id}, {"name", Text(r.name)}, {"url", Text(r.url)}};
}

Json RecordJson(const tagSubPartInfo& r) {
  return {{"id", r.id},
          {"parentId", r.parentId},
          {"name", Text(r.name)},
          {"url", Text(r.url)},
          {"target", r.target}};
}

Json RecordJson(const tagZoneInfo& r) {
  return {{"id", r.id}, {"name", Text(r.name)}};
}

Json RecordJson(const tagAreaInfo& r) {
  return {{"zoneId", r.zoneId}, {"id", r.id}, {"extra", r.extra}, {"name", Text(r.name)}};
}

// The current conditions and the forecasts, each as a record of its own.
Json RecordJson(const tagWeatherData& r) {
  Json forecasts = Json::array();
  for (const tagForecastData& f : r.forecasts) {
    forecasts.push_back({{"dayOfWeek", Text(f.dayOfWeek)},
                         {"low", Text(f.low)},
                         {"high", Text(f.high)},
                         {"icon", Text(f.icon)},
                         {"condition", Text(f.condition)}});
  }
  return {{"current",
           {{"tempF", Text(r.tempF)},
            {"tempC", Text(r.tempC)},
            {"humidity", Text(r.humidity)},
            {"windCondition", Text(r.windCondition)}}},
          {"forecasts", forecasts}};
}

Json RecordJson(const tagSrvData& r) {
  return {
      {"id", r.id}, {"ip", Text(r.ip)}, {"port", Text(r.port)}, {"serverName", Text(r.serverName)}};
}

Json RecordJson(const tagSrvService& r) {
  return {
      {"id", r.id}, {"serviceName", Text(r.serviceName)}, {"sink", Text(r.sink)}, {"run", r.run}};
}

Json RecordJson(const tagSoftData& r) {
  return {{"id", r.id},
          {"depend", r.depend},
          {"version", r.version},
          {"kindName", Text(r.kindName)},
          {"processName", Text(r.processName)},
          {"zipName", Text(r.zipName)},
          {"unzipDir", Text(r.unzipDir)}};
}

Json RecordJson(const tagShortCutInfo& r) {
  return {{"file", Text(r.file)}};
}

Json RecordJson(const tagUpdateData& r) {
  return {{"file", Text(r.file)}, {"check", Text(r.check)}};
}

}  // namespace inspector

#include "inspector.h"

namespace inspector {
namespace {

Json PartJson(const tagPartInfo& r) {
  return {{"id", r.id}, {"name", Text(r.name)}, {"url", Text(r.url)}};
}

Json SubPartJson(const tagSubPartInfo& r) {
  return {{"id", r.id},
          {"parentId", r.parentId},
          {"name", Text(r.name)},
          {"url", Text(r.url)},
          {"target", r.target}};
}

Json ZoneJson(const tagZoneInfo& r) {
  return {{"id", r.id}, {"name", Text(r.name)}};
}

Json AreaJson(const tagAreaInfo& r) {
  return {{"zoneId", r.zoneId}, {"id", r.id}, {"extra", r.extra}, {"name", Text(r.name)}};
}

Json ForecastJson(const tagForecastData& r) {
  return {{"dayOfWeek", Text(r.dayOfWeek)},
          {"low", Text(r.low)},
          {"high", Text(r.high)},
          {"icon", Text(r.icon)},
          {"condition", Text(r.condition)}};
}

Json ServerJson(const tagSrvData& r) {
  return {
      {"id", r.id}, {"ip", Text(r.ip)}, {"port", Text(r.port)}, {"serverName", Text(r.serverName)}};
}

Json ServiceJson(const tagSrvService& r) {
  return {
      {"id", r.id}, {"serviceName", Text(r.serviceName)}, {"sink", Text(r.sink)}, {"run", r.run}};
}

bool ReadParts(const CString& path, Json& out) {
  tagPartListInfo info;
  if (!CTinyXmlHelper::GetPartData(info, path)) return false;
  out = {{"parts", ToJsonArray(info.parts, PartJson)},
         {"subParts", ToJsonArray(info.subParts, SubPartJson)}};
  return true;
}

bool ReadZones(const CString& path, Json& out) {
  tagZoneAreaArray info;
  if (!CTinyXmlHelper::GetAreaData(info, path)) return false;
  out = {{"zones", ToJsonArray(info.zones, ZoneJson)},
         {"areas", ToJsonArray(info.areas, AreaJson)}};
  return true;
}

bool ReadWeather(const CString& path, Json& out) {
  tagWeatherData weather;
  if (!CTinyXmlHelper::GetWeatherData(weather, path)) return false;
  Json forecasts = Json::array();
  for (const tagForecastData& forecast : weather.forecasts)
    forecasts.push_back(ForecastJson(forecast));
  out = {{"current",
          {{"tempF", Text(weather.tempF)},
           {"tempC", Text(weather.tempC)},
           {"humidity", Text(weather.humidity)},
           {"windCondition", Text(weather.windCondition)}}},
         {"forecasts", forecasts}};
  return true;
}

bool ReadServers(const CString& path, Json& out) {
  CList<tagSrvData, const tagSrvData&> list;
  if (!CTinyXmlHelper::GetSrvData(list, path)) return false;
  out = {{"servers", ToJsonArray(list, ServerJson)}};
  return true;
}

bool ReadServices(const CString& path, Json& out) {
  CList<tagSrvService, const tagSrvService&> list;
  if (!CTinyXmlHelper::GetSrvServiceData(list, path)) return false;
  out = {{"services", ToJsonArray(list, ServiceJson)}};
  return true;
}

bool ReadVersion(const CString& path, Json& out) {
  CString version, updateTime;
  if (!CTinyXmlHelper::GeVersion(path, version, updateTime)) return false;
  out = {{"version", {{"version", version.GetString()}, {"updatetime", updateTime.GetString()}}}};
  return true;
}

}  // namespace

std::vector<KindReader> ReadOnlyKinds() {
  using talvoro::DocumentKind;
  return {{DocumentKind::kParts, ReadParts},
          {DocumentKind::kZones, ReadZones},
          {DocumentKind::kWeather, ReadWeather},
          {DocumentKind::kServers, ReadServers},
          {DocumentKind::kServerServices, ReadServices},
          {DocumentKind::kVersion, ReadVersion}};
}

}  // namespace inspector

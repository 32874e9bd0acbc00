// The weather: the current conditions and a four-day forecast, every value the
// "Data" attribute of an element found by its exact name within its parent.
// Once the "weather" element is found the whole record is replaced; anything
// missing below it leaves its fields empty.
#include "frame/document.h"
#include "frame/fields.h"
#include "frame/walk.h"
#include "talvoro/helper.h"

using namespace talvoro;

namespace {

// The "Data" attribute of the first child element of `parent` named `name`;
// empty when the parent, the child or the attribute is missing.
const char* DataOf(const TiXmlElement* parent, const char* name) {
  const TiXmlElement* element = parent ? parent->FirstChildElement(name) : nullptr;
  return element ? Attr(*element, "Data") : "";
}

}  // namespace

bool CTinyXmlHelper::GetWeatherData(tagWeatherData& weather, CString path) {
  Document doc;
  const TiXmlElement* root = doc.Load(path);
  if (!root) return false;
  const TiXmlElement* weatherElement = root->FirstChildElement("weather");
  if (!weatherElement) return false;

  auto staged = Cleared<tagWeatherData>();
  const TiXmlElement* current = weatherElement->FirstChildElement("current_conditions");
  CopyField(staged.tempF, DataOf(current, "temp_f"));
  CopyField(staged.tempC, DataOf(current, "temp_c"));
  CopyField(staged.humidity, DataOf(current, "humidity"));
  CopyField(staged.windCondition, DataOf(current, "wind_condition"));

  tagForecastData* forecast = staged.forecasts;
  tagForecastData* const forecastsEnd = staged.forecasts + 4;
  for (const TiXmlElement& conditions : ChildElements(*weatherElement, "forecast_conditions")) {
    if (forecast == forecastsEnd) break;
    CopyField(forecast->dayOfWeek, DataOf(&conditions, "day_of_week"));
    CopyField(forecast->low, DataOf(&conditions, "low"));
    CopyField(forecast->high, DataOf(&conditions, "high"));
    CopyField(forecast->icon, DataOf(&conditions, "icon"));
    CopyField(forecast->condition, DataOf(&conditions, "condition"));
    ++forecast;
  }
  weather = staged;
  return true;
}

// The weather: the current conditions and a four-day forecast, every value the
// "Data" attribute of an element found by its exact name within its parent.
// Once the "weather" element is found the whole record is replaced; anything
// missing below it leaves its fields empty.
#include "api/binding.h"

namespace talvoro {
namespace {

// The values below one element of the weather document, which may be missing.
class Entries {
 public:
  Entries(const Document& doc, const TiXmlElement* parent) : doc_(doc), parent_(parent) {}

  // Stores the "Data" attribute of the first child element named `name`; a
  // missing parent, child or attribute leaves the (cleared) field empty.
  template <std::size_t W>
  void Data(char (&field)[W], const char* name) const {
    if (!parent_) return;
    if (const TiXmlElement* entry = doc_.Entry(*parent_, name))
      doc_.Fields(*entry).Text(field, "Data");
  }

 private:
  const Document& doc_;
  const TiXmlElement* parent_;
};

}  // namespace

template <class Weather>
Status ReadWeather(const Document& doc, const TiXmlElement& root, Weather& weather) {
  const TiXmlElement* weatherElement = root.FirstChildElement("weather");
  if (!weatherElement) return Status(Reason::kNoWeather);

  auto staged = Cleared<tagWeatherData>();
  const Entries now(doc, doc.Entry(*weatherElement, "current_conditions"));
  now.Data(staged.tempF, "temp_f");
  now.Data(staged.tempC, "temp_c");
  now.Data(staged.humidity, "humidity");
  now.Data(staged.windCondition, "wind_condition");

  tagForecastData* forecast = staged.forecasts;
  for (const TiXmlElement* conditions : doc.Entries<4>(*weatherElement, "forecast_conditions")) {
    const Entries day(doc, conditions);
    day.Data(forecast->dayOfWeek, "day_of_week");
    day.Data(forecast->low, "low");
    day.Data(forecast->high, "high");
    day.Data(forecast->icon, "icon");
    day.Data(forecast->condition, "condition");
    ++forecast;
  }
  weather = staged;
  return Status::Ok();
}

TALVORO_DOCUMENT(kWeather, ReadWeather)

}  // namespace talvoro

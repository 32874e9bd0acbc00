// The weather: the current conditions and a four-day forecast, every value the
// "Data" attribute of an element found by its exact name within its parent.
// Once the "weather" element is found the whole record is replaced; anything
// missing below it leaves its fields empty.
#include "frame/documents.h"

namespace talvoro {
namespace {

// The values below one element of the weather document.
class Entries {
 public:
  Entries(const Document& doc, const TiXmlElement* parent) : doc_(doc), parent_(parent) {}

  // Stores the "Data" attribute of the first child element named `name`; a
  // missing parent, child or attribute leaves the (cleared) field empty.
  template <std::size_t W>
  void Data(char (&field)[W], const char* name) const {
    const TiXmlElement* element = parent_ ? parent_->FirstChildElement(name) : nullptr;
    if (element) {
      doc_.Fields(*element).Text(field, "Data");
    } else if (parent_ && doc_.observer()) {
      ObserveMissing(*doc_.observer(), *parent_, name);
    }
  }

 private:
  const Document& doc_;
  const TiXmlElement* parent_;
};

}  // namespace

Status ReadWeather(Document& doc, const char* path, tagWeatherData& weather) {
  const TiXmlElement* root = doc.Load(path);
  if (!root) return doc.status();
  const TiXmlElement* weatherElement = root->FirstChildElement("weather");
  if (!weatherElement) return Status(Reason::kNoWeather);
  Observer* const observer = doc.observer();

  auto staged = Cleared<tagWeatherData>();
  const TiXmlElement* current = weatherElement->FirstChildElement("current_conditions");
  if (!current && observer) ObserveMissing(*observer, *weatherElement, "current_conditions");
  const Entries now(doc, current);
  now.Data(staged.tempF, "temp_f");
  now.Data(staged.tempC, "temp_c");
  now.Data(staged.humidity, "humidity");
  now.Data(staged.windCondition, "wind_condition");

  tagForecastData* forecast = staged.forecasts;
  tagForecastData* const forecastsEnd = staged.forecasts + 4;
  for (const TiXmlElement& conditions : ChildElements(*weatherElement, "forecast_conditions")) {
    if (forecast == forecastsEnd) break;
    const Entries day(doc, &conditions);
    day.Data(forecast->dayOfWeek, "day_of_week");
    day.Data(forecast->low, "low");
    day.Data(forecast->high, "high");
    day.Data(forecast->icon, "icon");
    day.Data(forecast->condition, "condition");
    ++forecast;
  }
  for (; observer && forecast != forecastsEnd; ++forecast)
    ObserveMissing(*observer, *weatherElement, "forecast_conditions");
  weather = staged;
  return Status::Ok();
}

}  // namespace talvoro

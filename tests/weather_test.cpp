#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "document_test.h"
#include "talvoro/talvoro.h"

namespace {

using testutil::SameBytes;
using testutil::Set;
using testutil::Zeroed;

class Weather : public testutil::DocumentTest {
 protected:
  // The caller's record starts as garbage, so that every byte the reader
  // leaves alone, or fails to clear, shows up.
  Weather() : DocumentTest("weather.xml") {
    std::memset(static_cast<void*>(&weather), 0xAB, sizeof weather);
  }

  bool Read(const std::string& xml) { return CTinyXmlHelper::GetWeatherData(weather, Write(xml)); }
  bool Untouched() const {
    tagWeatherData garbage;
    std::memset(static_cast<void*>(&garbage), 0xAB, sizeof garbage);
    return SameBytes(garbage, weather);
  }
  tagWeatherData weather;
};

std::string Forecast(const std::string& day, const std::string& low = "1",
                     const std::string& high = "2", const std::string& icon = "i",
                     const std::string& condition = "c") {
  return "<forecast_conditions><day_of_week Data='" + day + "'/><low Data='" + low +
         "'/><high Data='" + high + "'/><icon Data='" + icon + "'/><condition Data='" + condition +
         "'/></forecast_conditions>";
}

void SetForecast(tagForecastData& f, const std::string& day, const std::string& low = "1",
                 const std::string& high = "2", const std::string& icon = "i",
                 const std::string& condition = "c") {
  Set(f.dayOfWeek, day);
  Set(f.low, low);
  Set(f.high, high);
  Set(f.icon, icon);
  Set(f.condition, condition);
}

TEST_F(Weather, FindsEveryValueByNameAndReplacesTheWholeRecord) {
  // Value elements out of order, a lower-case "data" that does not count,
  // other elements between the forecasts, a fifth forecast and a second
  // "weather" that are ignored.
  ASSERT_TRUE(Read(R"(<?xml version="1.0"?>
<reply>
  <other/>
  <weather mobile_zipped="1">
    <forecaste_infomation><city Data="Shanghai"/></forecaste_infomation>
    <current_conditions>
      <wind_condition Data="E 12 km/h"/><humidity data="low" Data="68%"/>
      <temp_c Data="-3"/><temp_f Data="27"/><temp_f Data="second"/>
    </current_conditions>
    <forecast_conditions>
      <condition Data="Rain"/><icon Data="/rain.gif"/><high Data="5"/><low data="x"/>
      <day_of_week Data="Mon"/>
    </forecast_conditions>
    <note/>)" + Forecast("Tue") +
                   "<current_conditions><temp_f Data='late'/></current_conditions>" +
                   Forecast("Wed") + Forecast("Thu") + Forecast("Fri") + R"(
  </weather>
  <weather><current_conditions><temp_f Data="other"/></current_conditions></weather>
</reply>)"));
  auto expected = Zeroed<tagWeatherData>();
  Set(expected.tempF, "27");
  Set(expected.tempC, "-3");
  Set(expected.humidity, "68%");
  Set(expected.windCondition, "E 12 km/h");
  Set(expected.forecasts[0].dayOfWeek, "Mon");
  Set(expected.forecasts[0].high, "5");
  Set(expected.forecasts[0].icon, "/rain.gif");
  Set(expected.forecasts[0].condition, "Rain");
  SetForecast(expected.forecasts[1], "Tue");
  SetForecast(expected.forecasts[2], "Wed");
  SetForecast(expected.forecasts[3], "Thu");
  EXPECT_TRUE(SameBytes(expected, weather));
}

TEST_F(Weather, WhateverIsMissingBelowWeatherStaysEmpty) {
  struct Case {
    std::string inside;  // content of "weather"
    tagWeatherData expected;
  };
  auto empty = Zeroed<tagWeatherData>();
  auto someCurrent = Zeroed<tagWeatherData>();
  Set(someCurrent.humidity, "50%");
  auto twoDays = Zeroed<tagWeatherData>();
  SetForecast(twoDays.forecasts[0], "Mon");
  SetForecast(twoDays.forecasts[1], "Tue");
  auto gaps = Zeroed<tagWeatherData>();
  Set(gaps.forecasts[0].low, "4");
  Set(gaps.forecasts[2].dayOfWeek, "Wed");
  const Case cases[] = {
      {"", empty},
      {"<current_conditions/><forecast_conditions/>", empty},
      {"<current_conditions><humidity Data='50%'/></current_conditions>", someCurrent},
      {Forecast("Mon") + Forecast("Tue"), twoDays},
      {"<forecast_conditions><low Data='4'/></forecast_conditions><forecast_conditions/>"
       "<forecast_conditions><day_of_week Data='Wed'/></forecast_conditions>",
       gaps},
  };
  for (const Case& c : cases) {
    std::memset(static_cast<void*>(&weather), 0xAB, sizeof weather);
    ASSERT_TRUE(Read("<r><weather>" + c.inside + "</weather></r>")) << c.inside;
    EXPECT_TRUE(SameBytes(c.expected, weather)) << c.inside;
  }
}

TEST_F(Weather, FalseLeavesTheRecordUntouched) {
  const std::string failing[] = {
      "",
      "<!-- no element -->",
      "<r><weather></r>",                          // malformed
      "<weather><current_conditions/></weather>",  // the document element itself
      "<r><x><weather/></x></r>",                  // too deep
      "<r><Weather/><WEATHER/></r>",               // the name is exact
  };
  for (const std::string& xml : failing) {
    EXPECT_FALSE(Read(xml)) << xml;
    EXPECT_TRUE(Untouched()) << xml;
  }
  EXPECT_FALSE(CTinyXmlHelper::GetWeatherData(weather, (dir / "missing.xml").c_str()));
  EXPECT_TRUE(Untouched());
}

}  // namespace

#include "plugin/date_values.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "fake_automation.h"
#include "fake_machine.h"
#include "fileaccess/file_dates.h"
#include "registry/month_names.h"
#include "support/ole_date.h"

namespace quarnel {
namespace {

// The fake conversion, bent by `misread` where a locale would read a text
// otherwise; counts the conversions.
class CountingAutomation : public FakeAutomation {
 public:
  std::function<std::optional<OleDate>(const std::wstring&, std::optional<OleDate>)> misread;
  int conversions = 0;
  std::optional<OleDate> DateFromText(const std::wstring& text) override {
    ++conversions;
    const std::optional<OleDate> value = FakeAutomation::DateFromText(text);
    return misread ? misread(text, value) : value;
  }
};

bool Has(const std::wstring& text, const wchar_t* part) {
  return text.find(part) != std::wstring::npos;
}

// Dates across 1601-9999, every month several times, in an order that
// comes back to each month after others.
std::vector<CalendarFields> DatesAcrossTheCalendar() {
  std::vector<CalendarFields> dates;
  for (int year : {1601, 1752, 1899, 1900, 1970, 2000, 2026, 2100, 2400, 9999}) {
    for (int month = 1; month <= 12; ++month) {
      for (int day : {1, 12, 13, 28}) {
        dates.push_back({year, month, day, (day * 7) % 24, (month * 11) % 60, (year + day) % 60});
      }
    }
  }
  dates.push_back({2026, 12, 31, 23, 59, 59});
  dates.push_back({1899, 12, 30, 0, 0, 0});
  dates.push_back({1899, 12, 29, 6, 0, 0});
  return dates;
}

struct Scenario {
  const char* name;
  int overriddenMonth;
  const wchar_t* overrideName;
  std::function<std::optional<OleDate>(const std::wstring&, std::optional<OleDate>)> misread;
  bool computesSomeValues;
};

TEST(DateValues, GiveWhatTheConversionOfEachTextGives) {
  const Scenario scenarios[] = {
      {"the default names", 0, L"", nullptr, true},
      {"a name the locale does not know", 3, L"Mrz", nullptr, true},
      {"a name the locale reads as another month", 1, L"Feb", nullptr, true},
      // A locale that takes a day up to 12 for the month, from day 13 on
      // the name: its first texts read back right, its later ones do not.
      {"a name read right only for small days", 7, L"Sieben",
       [](const std::wstring& text, std::optional<OleDate> value) -> std::optional<OleDate> {
         if (!value || !Has(text, L"Sieben")) return value;
         const CalendarFields f = FieldsFromOleDate(*value);
         if (f.day > 12) return value;
         return OleDateFromFields({f.year, f.day, 7, f.hour, f.minute, f.second});
       },
       true},
      {"a name read only from 1900 on", 5, L"Maien",
       [](const std::wstring& text, std::optional<OleDate> value) -> std::optional<OleDate> {
         if (!value || !Has(text, L"Maien")) return value;
         return FieldsFromOleDate(*value).year < 1900 ? std::nullopt : value;
       },
       true},
      {"a locale that reads no text", 0, L"",
       [](const std::wstring&, std::optional<OleDate>) -> std::optional<OleDate> {
         return std::nullopt;
       },
       false},
  };
  const std::vector<CalendarFields> dates = DatesAcrossTheCalendar();
  for (const Scenario& scenario : scenarios) {
    SCOPED_TRACE(scenario.name);
    fake::FakeRegistry registry;
    if (scenario.overriddenMonth != 0) {
      registry.Set(std::to_wstring(scenario.overriddenMonth), std::wstring(scenario.overrideName));
    }
    MonthNameTable months;
    months.Load(registry);
    CountingAutomation automation;
    automation.AcceptMonthName(L"Sieben", 7);
    automation.AcceptMonthName(L"Maien", 5);
    automation.misread = scenario.misread;

    DateValues values(automation, months);
    int conversionsByValues = 0;
    for (const CalendarFields& date : dates) {
      const std::wstring text = DateText(months, date);
      automation.conversions = 0;
      const std::optional<OleDate> value = values.ValueOf(date);
      conversionsByValues += automation.conversions;
      const std::optional<OleDate> converted = ReadDateTextBack(automation, text, date);
      ASSERT_EQ(value.has_value(), converted.has_value()) << text;
      if (value) EXPECT_EQ(DateDifference(L"s", *value, *converted), 0) << text;
    }
    if (scenario.computesSomeValues) {
      EXPECT_LT(conversionsByValues, static_cast<int>(dates.size()) / 2);
    }
  }
}

TEST(DateValues, AOneDateCheckConvertsItsTextOnly) {
  fake::FakeRegistry registry;
  MonthNameTable months;
  months.Load(registry);
  CountingAutomation automation;
  DateValues values(automation, months);
  EXPECT_TRUE(values.ValueOf({2026, 12, 7, 9, 5, 3}));
  EXPECT_EQ(automation.conversions, 1);
}

}  // namespace
}  // namespace quarnel

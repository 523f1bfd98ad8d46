// The date values that a scan computes from calendar fields, against the
// real locale conversion (oleaut32's VarDateFromStr) of every text.

#include <gtest/gtest.h>

#include <vector>

#include "fileaccess/file_dates.h"
#include "plugin/date_values.h"
#include "registry/month_names.h"
#include "support/automation_win32.h"
#include "support/ole_date.h"

namespace quarnel {
namespace {

// The month names of one test: the defaults, or one override.
class OneOverride : public MachineRegistry {
 public:
  OneOverride(int month, RegistryValue value) : month_(month), value_(std::move(value)) {}
  RegistryValue ReadMachineValue(const std::wstring&, const std::wstring& valueName) override {
    return valueName == std::to_wstring(month_) ? value_ : RegistryValue();
  }
  std::unique_ptr<KeyWatch> WatchMachineKey(const std::wstring&) override { return nullptr; }

 private:
  int month_;
  RegistryValue value_;
};

TEST(DateValues, EqualTheLocaleConversionOfEveryText) {
  struct Case {
    const char* name;
    int month;
    RegistryValue value;
  };
  const Case cases[] = {
      {"the default names", 0, RegistryValue()},
      {"a name for another month", 1, std::wstring(L"Feb")},
      {"a number for a month", 3, std::int32_t{3}},
      {"a name nobody knows", 8, std::wstring(L"Xyz")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OneOverride registry(c.month, c.value);
    MonthNameTable months;
    months.Load(registry);
    SystemAutomation automation;
    DateValues values(automation, months);
    int dates = 0, agreeing = 0;
    for (int year : {1601, 1899, 1900, 1999, 2026, 2400, 9999}) {
      for (int month = 1; month <= 12; ++month) {
        for (int day : {1, 12, 13, 28}) {
          const CalendarFields date{year, month, day, (day * 5) % 24, month * 4, (year + day) % 60};
          const std::wstring text = DateText(months, date);
          const std::optional<OleDate> value = values.ValueOf(date);
          const std::optional<OleDate> converted = ReadDateTextBack(automation, text, date);
          ++dates;
          ASSERT_EQ(value.has_value(), converted.has_value()) << text;
          if (value && DateDifference(L"s", *value, *converted) == 0) ++agreeing;
          // The defaults always read back; a name for another month, or
          // one nobody knows, never does.
          if (c.month == 0) {
            EXPECT_TRUE(value) << text;
          } else if (c.month == month && c.month != 3) {
            EXPECT_FALSE(value) << text;
          }
        }
      }
    }
    if (c.month == 0) {
      EXPECT_EQ(agreeing, dates);
    }
  }
}

}  // namespace
}  // namespace quarnel

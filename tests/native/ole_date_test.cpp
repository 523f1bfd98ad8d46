#include "support/ole_date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "support/check_error.h"

namespace quarnel {

// Internal linkage: other test files may compare fields their own way.
static bool operator==(const CalendarFields& a, const CalendarFields& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second;
}

static void PrintTo(const CalendarFields& f, std::ostream* os) {
  *os << f.year << "-" << f.month << "-" << f.day << " " << f.hour << ":" << f.minute << ":" << f.second;
}

namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

OleDate At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return OleDateFromFields({year, month, day, hour, minute, second});
}

void ExpectInvalidArgument(const std::function<void()>& call) {
  try {
    call();
    ADD_FAILURE() << "no failure raised";
  } catch (const CheckError& error) {
    EXPECT_EQ(error.number(), static_cast<int>(ErrorNumber::InvalidArgument));
  }
}

TEST(OleDateFields, ConvertBothWaysWithAutomationsEncoding) {
  struct Case {
    CalendarFields fields;
    OleDate date;
  };
  const Case cases[] = {
      {{1899, 12, 30, 0, 0, 0}, 0.0},
      {{1899, 12, 30, 12, 0, 0}, 0.5},
      {{1899, 12, 31, 0, 0, 0}, 1.0},
      {{1900, 3, 1, 0, 0, 0}, 61.0},  // no 29 February 1900 in this calendar
      {{2026, 12, 7, 0, 0, 0}, 46363.0},
      {{2026, 12, 7, 9, 5, 3}, 46363.0 + (9 * 3600 + 5 * 60 + 3) * kSecond},
      // Before 30 December 1899 the fraction still counts forward from midnight.
      {{1899, 12, 29, 6, 0, 0}, -1.25},
      {{1899, 12, 29, 18, 0, 0}, -1.75},
      {{1800, 2, 28, 18, 0, 0}, -36464.75},
      {{100, 1, 1, 0, 0, 0}, -657434.0},
      {{100, 1, 1, 23, 59, 59}, -657434.0 - 86399 * kSecond},
      {{9999, 12, 31, 23, 59, 59}, 2958465.0 + 86399 * kSecond},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.fields));
    EXPECT_NEAR(OleDateFromFields(c.fields), c.date, 1e-9);
    EXPECT_EQ(FieldsFromOleDate(c.date), c.fields);
  }
}

TEST(OleDateFields, RoundToTheWholeSecondAndCarry) {
  const struct {
    OleDate date;
    CalendarFields fields;
  } cases[] = {
      {0.5 + 0.4 * kSecond, {1899, 12, 30, 12, 0, 0}},
      {0.5 + 0.6 * kSecond, {1899, 12, 30, 12, 0, 1}},
      {1.0 - 0.2 * kSecond, {1899, 12, 31, 0, 0, 0}},
      {At(2026, 12, 31, 23, 59, 59) + 0.7 * kSecond, {2027, 1, 1, 0, 0, 0}},
      {At(2028, 2, 28, 23, 59, 59) + 0.5 * kSecond + 1e-9, {2028, 2, 29, 0, 0, 0}},
      // 29 December 1899 23:59:59.8 carries forward into 30 December.
      {-1.0 - (1.0 - 0.2 * kSecond), {1899, 12, 30, 0, 0, 0}},
      // Between -1 and 0 the day is 30 December 1899, as for the positive fraction.
      {-0.25, {1899, 12, 30, 6, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.date);
    EXPECT_EQ(FieldsFromOleDate(c.date), c.fields);
  }
}

TEST(OleDateFields, RejectDatesOutsideTheYears100To9999) {
  for (const OleDate date : {-657435.0, -657435.5, 2958466.0,
                             At(9999, 12, 31, 23, 59, 59) + 0.6 * kSecond, 1e300, -1e300, kNaN, kInfinity}) {
    SCOPED_TRACE(date);
    ExpectInvalidArgument([&] { FieldsFromOleDate(date); });
  }
}

TEST(ShiftDate, MovesByEachUnit) {
  const OleDate monday = At(2026, 12, 7, 9, 5, 3);
  const struct {
    wchar_t unit;
    double amount;
    OleDate from;
    CalendarFields expected;
  } cases[] = {
      {L'd', -1, monday, {2026, 12, 6, 9, 5, 3}},
      {L'D', 30, monday, {2027, 1, 6, 9, 5, 3}},
      {L'y', 1, monday, {2026, 12, 8, 9, 5, 3}},
      {L'W', -7, monday, {2026, 11, 30, 9, 5, 3}},
      {L'h', 15, monday, {2026, 12, 8, 0, 5, 3}},
      {L'n', -66, monday, {2026, 12, 7, 7, 59, 3}},
      {L's', 57, monday, {2026, 12, 7, 9, 6, 0}},
      {L'S', -86400, monday, {2026, 12, 6, 9, 5, 3}},
      // Fractions move the clock exactly.
      {L'd', -1.5, monday, {2026, 12, 5, 21, 5, 3}},
      {L'h', 0.5, monday, {2026, 12, 7, 9, 35, 3}},
      {L'n', 1.5, monday, {2026, 12, 7, 9, 6, 33}},
      // Months keep the day and the time, or fall back to the month's last day.
      {L'm', 1, At(2026, 1, 31, 13, 14, 15), {2026, 2, 28, 13, 14, 15}},
      {L'm', 1, At(2028, 1, 31), {2028, 2, 29, 0, 0, 0}},
      {L'M', -1, At(2026, 3, 31), {2026, 2, 28, 0, 0, 0}},
      {L'm', 13, monday, {2028, 1, 7, 9, 5, 3}},
      {L'm', -12, At(2028, 2, 29), {2027, 2, 28, 0, 0, 0}},
      {L'm', 0, monday, {2026, 12, 7, 9, 5, 3}},
      {L'q', 1, At(2026, 11, 30), {2027, 2, 28, 0, 0, 0}},
      {L'Q', -2, monday, {2026, 6, 7, 9, 5, 3}},
      // Months and quarters round the amount half to even.
      {L'm', 2.5, monday, {2027, 2, 7, 9, 5, 3}},
      {L'm', 3.5, monday, {2027, 4, 7, 9, 5, 3}},
      {L'm', -0.5, monday, {2026, 12, 7, 9, 5, 3}},
      {L'm', 1.6, monday, {2027, 2, 7, 9, 5, 3}},
      {L'q', 0.5, monday, {2026, 12, 7, 9, 5, 3}},
      {L'q', 1.5, monday, {2027, 6, 7, 9, 5, 3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::wstring(1, c.unit) + L" " + std::to_wstring(c.amount));
    EXPECT_EQ(FieldsFromOleDate(ShiftDate(c.unit, c.amount, c.from)), c.expected);
  }
}

TEST(ShiftDate, CrossesThirtiethOfDecember1899TheWayTheClockRuns) {
  // 30 December 1899 06:00 minus 12 hours is 29 December 18:00, which
  // Automation writes as -1.75 (not -1.25, where plain addition would land).
  EXPECT_NEAR(ShiftDate(L'h', -12, 0.25), -1.75, 1e-9);
  EXPECT_NEAR(ShiftDate(L'd', -1, 0.25), -1.25, 1e-9);
  EXPECT_NEAR(ShiftDate(L'h', 12, -1.75), 0.25, 1e-9);
  EXPECT_NEAR(ShiftDate(L'm', -1, -1.25), -31.25, 1e-9);  // 29 November 1899 06:00
}

TEST(ShiftDate, RejectsUnknownUnitsAndResultsOutsideTheValidYears) {
  const struct {
    wchar_t unit;
    double amount;
    OleDate from;
  } cases[] = {
      {L'x', 1, 46363}, {L'1', 1, 46363}, {L'-', 1, 46363}, {L'+', 0, 46363}, {L' ', 0, 46363},
      {L'}', 0, 46363}, {L'\0', 0, 46363}, {L'\x0131', 0, 46363},  // dotless i folds to no unit
      {L'd', -1, At(100, 1, 1)}, {L'd', 1, At(9999, 12, 31)}, {L's', 1, At(9999, 12, 31, 23, 59, 59)},
      {L'm', 1, At(9999, 12, 15)}, {L'q', -1, At(100, 2, 15)}, {L'y', -3000000, 46363},
      {L'm', 1e300, 46363}, {L'q', -1e300, 46363}, {L'd', kNaN, 46363}, {L'h', kInfinity, 46363},
      {L'm', kNaN, 46363}, {L'd', 0, kNaN}, {L'm', 0, 1e300},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.unit)) + " " + std::to_string(c.amount));
    ExpectInvalidArgument([&] { ShiftDate(c.unit, c.amount, c.from); });
  }
  // The bounds themselves are valid.
  EXPECT_EQ(FieldsFromOleDate(ShiftDate(L'd', -1, At(100, 1, 2))), (CalendarFields{100, 1, 1, 0, 0, 0}));
  EXPECT_EQ(FieldsFromOleDate(ShiftDate(L'm', 1, At(9999, 11, 30, 23, 59, 59))),
            (CalendarFields{9999, 12, 30, 23, 59, 59}));
}

TEST(DateDifference, CountsBoundariesCrossed) {
  const struct {
    const wchar_t* interval;
    OleDate from;
    OleDate to;
    long long expected;
  } cases[] = {
      {L"n", At(2026, 12, 7, 10, 59, 59), At(2026, 12, 7, 11, 0, 0), 1},
      {L"h", At(2026, 12, 7, 10, 59, 59), At(2026, 12, 7, 11, 0, 0), 1},
      {L"s", At(2026, 12, 7, 10, 59, 59), At(2026, 12, 7, 11, 0, 0), 1},
      {L"d", At(2026, 12, 7, 10, 59, 59), At(2026, 12, 7, 11, 0, 0), 0},
      {L"n", At(2026, 12, 7, 11, 0, 0), At(2026, 12, 7, 11, 0, 59), 0},
      {L"h", At(2026, 12, 7, 11, 0, 0), At(2026, 12, 7, 11, 59, 59), 0},
      {L"d", At(2026, 12, 7, 23, 59, 0), At(2026, 12, 8, 0, 1, 0), 1},
      {L"n", At(2026, 12, 7, 23, 59, 0), At(2026, 12, 8, 0, 1, 0), 2},
      {L"d", At(2026, 12, 7, 0, 0, 0), At(2026, 12, 7, 23, 59, 59), 0},
      {L"y", At(2026, 12, 7, 23, 59, 0), At(2026, 12, 8, 0, 1, 0), 1},
      // A later start counts backwards.
      {L"n", At(2026, 12, 7, 11, 0, 0), At(2026, 12, 7, 10, 59, 59), -1},
      {L"d", At(2026, 12, 8, 0, 1, 0), At(2026, 12, 7, 23, 59, 0), -1},
      {L"s", At(2026, 12, 7, 11, 0, 0), At(2026, 12, 7, 10, 0, 0), -3600},
      // Years, quarters, months.
      {L"yyyy", At(2026, 12, 31, 23, 59, 59), At(2027, 1, 1), 1},
      {L"q", At(2026, 12, 31, 23, 59, 59), At(2027, 1, 1), 1},
      {L"m", At(2026, 12, 31, 23, 59, 59), At(2027, 1, 1), 1},
      {L"yyyy", At(2026, 1, 1), At(2026, 12, 31), 0},
      {L"q", At(2026, 1, 1), At(2026, 3, 31), 0},
      {L"q", At(2026, 3, 31), At(2026, 4, 1), 1},
      {L"m", At(2027, 3, 1), At(2026, 1, 31), -14},
      // "w" counts whole weeks of seven days; "ww" counts Sundays crossed.
      {L"w", At(2026, 12, 7), At(2026, 12, 13), 0},
      {L"w", At(2026, 12, 7), At(2026, 12, 14), 1},
      {L"w", At(2026, 12, 14), At(2026, 12, 7), -1},
      {L"w", At(2026, 12, 13), At(2026, 12, 7), 0},
      {L"ww", At(2026, 12, 12), At(2026, 12, 13), 1},  // Saturday to Sunday
      {L"ww", At(2026, 12, 13), At(2026, 12, 19), 0},  // Sunday to Saturday
      {L"ww", At(2026, 12, 13), At(2026, 12, 12), -1},
      // Interval names ignore case.
      {L"N", At(2026, 12, 7, 10, 59, 59), At(2026, 12, 7, 11, 0, 0), 1},
      {L"H", At(2026, 12, 7, 10, 59, 59), At(2026, 12, 7, 11, 0, 0), 1},
      {L"D", At(2026, 12, 7, 23, 59, 0), At(2026, 12, 8, 0, 1, 0), 1},
      {L"YyYy", At(2020, 6, 1), At(2026, 1, 1), 6},
      {L"WW", At(2026, 12, 12), At(2026, 12, 13), 1},
      // Across 30 December 1899: 29 December 23:00 to 30 December 01:00.
      {L"h", -1.0 - 23.0 / 24, 1.0 / 24, 2},
      {L"d", -1.0 - 23.0 / 24, 1.0 / 24, 1},
      // Whole seconds first: 0.6 s before the minute counts as the minute.
      {L"n", At(2026, 12, 7, 10, 59, 59) + 0.6 * kSecond, At(2026, 12, 7, 11, 0, 0), 0},
      {L"s", At(100, 1, 1), At(9999, 12, 31, 23, 59, 59), 312413759999LL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::wstring(c.interval));
    EXPECT_EQ(DateDifference(c.interval, c.from, c.to), c.expected);
  }
}

TEST(DateDifference, RejectsUnknownIntervalsAndInvalidDates) {
  for (const wchar_t* interval : {L"", L"x", L"dd", L"mm", L"nn", L"yy", L" d", L"d ", L"www", L"hh"}) {
    SCOPED_TRACE(std::wstring(interval));
    ExpectInvalidArgument([&] { DateDifference(interval, 0, 1); });
  }
  ExpectInvalidArgument([] { DateDifference(L"d", kNaN, 1); });
  ExpectInvalidArgument([] { DateDifference(L"d", 1, 3e6); });
}

}  // namespace
}  // namespace quarnel

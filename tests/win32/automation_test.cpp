#include "support/automation_win32.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <string>

#include "fileaccess/date_placeholder.h"
#include "support/ole_date.h"
#include "support/unique_any_win32.h"
#include "tests/native/fake_automation.h"

namespace quarnel {
namespace {

OleDate At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return OleDateFromFields({year, month, day, hour, minute, second});
}

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");  // loaded in every process; not ours to free
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::wstring Expand(const std::wstring& text, OleDate now) {
  FixedClock clock(now);
  SystemAutomation automation;
  return ExpandDatePlaceholder(text, clock, automation);
}

std::wstring Digits(int value, int width) {
  wchar_t buffer[16];
  std::swprintf(buffer, 16, L"%0*d", width, value);
  return buffer;
}

std::wstring YearMonthDay(const CalendarFields& f) { return Digits(f.year, 4) + Digits(f.month, 2) + Digits(f.day, 2); }

// The placeholder cases with today's date; the clock is read once and the
// expected texts are made from the same value, so midnight cannot interfere.
TEST(SystemAutomation, ExpandsPlaceholdersWithTodaysDate) {
  const OleDate now = SystemClock().Now();
  const CalendarFields today = FieldsFromOleDate(now);
  const CalendarFields yesterday = FieldsFromOleDate(ShiftDate(L'd', -1, now));
  const CalendarFields inTwoHours = FieldsFromOleDate(ShiftDate(L'h', 2, now));

  EXPECT_EQ(Expand(L"C:\\logs\\app{yyyymmdd}.log", now), L"C:\\logs\\app" + YearMonthDay(today) + L".log");
  EXPECT_EQ(Expand(L"C:\\logs\\app{yyyymmdd -1d}.log", now), L"C:\\logs\\app" + YearMonthDay(yesterday) + L".log");
  EXPECT_EQ(Expand(L"{yyyy-mm-dd}", now),
            Digits(today.year, 4) + L"-" + Digits(today.month, 2) + L"-" + Digits(today.day, 2));
  EXPECT_EQ(Expand(L"{dd - mm}", now), Digits(today.day, 2));
  EXPECT_EQ(Expand(L"{yyyy -1d +2h}", now), Digits(inTwoHours.year, 4) + L" -1" + std::to_wstring(inTwoHours.day));
  EXPECT_EQ(Expand(L"a{x}b", now), L"a{x}b");
  EXPECT_EQ(Expand(L"{yyyy}\\{mm}", now), Digits(today.year, 4) + L"\\{mm}");
}

// The picture language as oleaut32 reads it, on fixed dates.
TEST(SystemAutomation, FormatsPicturesWithSundayFirstAndTheWeekOfFirstJanuary) {
  const struct {
    const wchar_t* text;
    OleDate now;
    const wchar_t* expected;
    // Wine's oleaut32 gets this one wrong: its "ww" counts the day of the
    // year in sevens, ignoring the first day of the week, and its "hh"
    // ignores AM/PM. Windows answers as written.
    bool windowsOnly = false;
  } cases[] = {
      {L"C:\\logs\\app{yyyymmdd}.log", At(2026, 12, 7, 9, 5, 3), L"C:\\logs\\app20261207.log"},
      {L"{yyyymmdd -1d}", At(2026, 12, 7, 9, 5, 3), L"20261206"},
      {L"{yyyymmdd +1m}", At(2026, 1, 31), L"20260228"},
      {L"{yyyymmdd +1m}", At(2028, 1, 31), L"20280229"},
      {L"{yyyy-mm-dd +1q}", At(2026, 8, 31), L"2026-11-30"},
      {L"{dddd d mmmm yy, hh:nn:ss}", At(2026, 12, 7, 9, 5, 3), L"Monday 7 December 26, 09:05:03"},
      {L"{ddd mmm}", At(2026, 12, 7), L"Mon Dec"},
      {L"{h:n:s}", At(2026, 12, 7, 9, 5, 3), L"9:5:3"},
      {L"{q}", At(2026, 12, 7), L"4"},
      {L"{w}", At(2026, 12, 7), L"2"},           // Monday, counted from Sunday
      {L"{ww}", At(2026, 1, 3), L"1"},          // Saturday in the week of 1 January
      {L"{ww}", At(2026, 1, 4), L"2", true},    // the first Sunday opens week 2
      {L"{ww}", At(2026, 12, 31), L"53"},
      {L"{hh AM/PM}", At(2026, 12, 7, 13, 5, 3), L"01 PM", true},
      {L"{y}", At(2026, 12, 31), L"365"},
      {L"{\\d\"ate\"-yyyy}", At(2026, 12, 7), L"date-2026"},
      {L"{hh:nn -90n}", At(2026, 12, 7, 9, 5, 3), L"07:35"},
  };
  const bool wine = RunningUnderWine();
  for (const auto& c : cases) {
    if (wine && c.windowsOnly) continue;
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
    EXPECT_EQ(Expand(c.text, c.now), c.expected);
  }
}

TEST(SystemAutomation, ReadsTheDateTextOfTheFileReaders) {
  SystemAutomation automation;
  const auto date = automation.DateFromText(L"7-Dec-2026 9:5:3");
  ASSERT_TRUE(date.has_value());
  EXPECT_NEAR(*date, At(2026, 12, 7, 9, 5, 3), 1e-9);
  EXPECT_FALSE(automation.DateFromText(L"x").has_value());
  EXPECT_FALSE(automation.DateFromText(L"").has_value());
}

TEST(SystemAutomation, GeneralDateTextReadsBack) {
  SystemAutomation automation;
  for (const OleDate date : {At(2026, 12, 7, 9, 5, 3), At(2026, 12, 7), At(1899, 12, 30, 17, 0, 59), At(1999, 2, 28, 23, 59, 59)}) {
    const std::wstring text = automation.GeneralDateText(date);
    SCOPED_TRACE(testing::PrintToString(text));
    const auto readBack = automation.DateFromText(text);
    ASSERT_TRUE(readBack.has_value());
    EXPECT_NEAR(*readBack, date, 1e-9);
  }
}

TEST(SystemAutomation, FormatsNumbersWithPictures) {
  SystemAutomation automation;
  const struct {
    double value;
    const wchar_t* picture;
    const wchar_t* expected;
  } cases[] = {
      {1536.0 / 1024, L"#0.0", L"1.5"},
      {1126.0 / 1024, L"#0.0", L"1.1"},
      {0.05, L"#0.0", L"0.1"},  // half away from zero on the decimal value
      {2047, L"#0.0", L"2047.0"},
      {10, L"#", L"10"},
      {2.5, L"#", L"3"},
      {1234567, L"#", L"1234567"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.value));
    EXPECT_EQ(automation.FormatNumber(c.value, c.picture), c.expected);
  }
}

TEST(SystemAutomation, WritesAndReadsNumbersAsTheUserDoes) {
  SystemAutomation automation;
  EXPECT_EQ(automation.NumberText(60), L"60");
  EXPECT_EQ(automation.NumberText(1.5), L"1.5");
  EXPECT_EQ(automation.NumberText(-1), L"-1");
  EXPECT_EQ(automation.NumberText(0.1 + 0.2), L"0.3");  // 15 significant digits

  EXPECT_EQ(automation.NumberFromRegionalText(L"  1.5 "), 1.5);
  EXPECT_EQ(automation.NumberFromRegionalText(L"-2"), -2.0);
  EXPECT_FALSE(automation.NumberFromRegionalText(L"x").has_value());
  EXPECT_FALSE(automation.NumberFromRegionalText(L"   ").has_value());
  EXPECT_FALSE(automation.NumberFromRegionalText(L"1e999").has_value());
}

TEST(SystemClock, ReadsTheLocalTimeToTheSecond) {
  SYSTEMTIME before;
  GetLocalTime(&before);
  const OleDate now = SystemClock().Now();
  SYSTEMTIME after;
  GetLocalTime(&after);
  const auto asDate = [](const SYSTEMTIME& t) {
    return OleDateFromFields({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
  };
  EXPECT_GE(DateDifference(L"s", asDate(before), now), 0);
  EXPECT_GE(DateDifference(L"s", now, asDate(after)), 0);
  EXPECT_NEAR(now * 86400, std::round(now * 86400), 1e-3);  // no milliseconds
}

}  // namespace
}  // namespace quarnel

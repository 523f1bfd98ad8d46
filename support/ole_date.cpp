#include "support/ole_date.h"

#include <algorithm>
#include <cmath>

#include "support/check_error.h"

namespace quarnel {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

namespace {

constexpr long long kSecondsPerDay = 86400;
constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

struct CivilDate {
  int year;
  int month;
  int day;
};

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Day number counted from 30 December 1899 (H. Hinnant's days_from_civil,
// shifted from 1 January 1970 by the 25569 days between the two).
long long DayNumberOf(const CivilDate& date) {
  const long long y = date.year - (date.month <= 2 ? 1 : 0);
  const long long era = FloorDiv(y, 400);
  const long long yearOfEra = y - era * 400;
  const long long monthFromMarch = date.month > 2 ? date.month - 3 : date.month + 9;
  const long long dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468 + 25569;
}

CivilDate CivilDateOf(long long dayNumber) {
  const long long z = dayNumber - 25569 + 719468;
  const long long era = FloorDiv(z, 146097);
  const long long dayOfEra = z - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long monthFromMarch = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  const int month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  return {static_cast<int>(year), month, day};
}

const long long kFirstDayNumber = DayNumberOf({kFirstYear, 1, 1});
const long long kLastDayNumber = DayNumberOf({kLastYear, 12, 31});

// The continuous time line behind the OleDate encoding: days since
// 30 December 1899 00:00, negative before it, fraction always forward.
double TimeLineOf(OleDate date) {
  const double wholeDays = std::trunc(date);
  return wholeDays + std::fabs(date - wholeDays);
}

OleDate OleDateOfTimeLine(double timeLine) {
  const double wholeDays = std::floor(timeLine);
  return wholeDays >= 0 ? timeLine : wholeDays - (timeLine - wholeDays);
}

// A point of the time line rounded to the whole second.
struct WholeSecondTime {
  long long dayNumber;
  long long secondOfDay;
};

// Rounds to the whole second and requires the result to lie within the
// years 100 to 9999; NaN and infinities fail as well.
WholeSecondTime ValidWholeSecondTime(double timeLine) {
  // A coarse bound first, so that the conversions below stay defined.
  if (!(timeLine > kFirstDayNumber - 1.0 && timeLine < kLastDayNumber + 2.0)) {
    throw CheckError(ErrorNumber::InvalidArgument);
  }
  WholeSecondTime time{static_cast<long long>(std::floor(timeLine)), 0};
  time.secondOfDay = std::llround((timeLine - static_cast<double>(time.dayNumber)) * kSecondsPerDay);
  if (time.secondOfDay == kSecondsPerDay) {
    ++time.dayNumber;
    time.secondOfDay = 0;
  }
  if (time.dayNumber < kFirstDayNumber || time.dayNumber > kLastDayNumber) {
    throw CheckError(ErrorNumber::InvalidArgument);
  }
  return time;
}

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

std::wstring AsciiLower(const std::wstring& text) {
  std::wstring lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](wchar_t c) { return AsciiLower(c); });
  return lower;
}

OleDate ShiftByMonths(double timeLine, double months) {
  // Beyond this many months any shift leaves the valid years.
  constexpr double kMonthsInValidYears = 12.0 * (kLastYear - kFirstYear + 1);
  if (!(std::fabs(months) <= kMonthsInValidYears)) throw CheckError(ErrorNumber::InvalidArgument);

  const double wholeDays = std::floor(timeLine);
  const CivilDate date = CivilDateOf(static_cast<long long>(wholeDays));
  const long long monthIndex = date.year * 12LL + (date.month - 1) + static_cast<long long>(months);
  const int year = static_cast<int>(FloorDiv(monthIndex, 12));
  if (year < kFirstYear || year > kLastYear) throw CheckError(ErrorNumber::InvalidArgument);
  const int month = static_cast<int>(monthIndex - year * 12LL) + 1;
  const int day = std::min(date.day, DaysInMonth(year, month));
  const double shifted = static_cast<double>(DayNumberOf({year, month, day})) + (timeLine - wholeDays);
  ValidWholeSecondTime(shifted);
  return OleDateOfTimeLine(shifted);
}

OleDate ShiftExactly(double timeLine, double days) {
  const double shifted = timeLine + days;
  ValidWholeSecondTime(shifted);
  return OleDateOfTimeLine(shifted);
}

}  // namespace

OleDate OleDateFromFields(const CalendarFields& fields) {
  const long long dayNumber = DayNumberOf({fields.year, fields.month, fields.day});
  const long long secondOfDay = fields.hour * 3600LL + fields.minute * 60LL + fields.second;
  return OleDateOfTimeLine(static_cast<double>(dayNumber) +
                           static_cast<double>(secondOfDay) / kSecondsPerDay);
}

CalendarFields FieldsFromOleDate(OleDate date) {
  const WholeSecondTime time = ValidWholeSecondTime(TimeLineOf(date));
  const CivilDate civil = CivilDateOf(time.dayNumber);
  const int secondOfDay = static_cast<int>(time.secondOfDay);
  return {civil.year,         civil.month,              civil.day,
          secondOfDay / 3600, secondOfDay / 60 % 60,    secondOfDay % 60};
}

OleDate ShiftDate(wchar_t unitLetter, double amount, OleDate date) {
  const double timeLine = TimeLineOf(date);
  ValidWholeSecondTime(timeLine);
  switch (AsciiLower(unitLetter)) {
    case L'd':
    case L'y':
    case L'w':
      return ShiftExactly(timeLine, amount);
    case L'h':
      return ShiftExactly(timeLine, amount / 24);
    case L'n':
      return ShiftExactly(timeLine, amount / (24 * 60));
    case L's':
      return ShiftExactly(timeLine, amount / kSecondsPerDay);
    // nearbyint rounds halves to even in the default rounding mode.
    case L'm':
      return ShiftByMonths(timeLine, std::nearbyint(amount));
    case L'q':
      return ShiftByMonths(timeLine, 3 * std::nearbyint(amount));
    default:
      throw CheckError(ErrorNumber::InvalidArgument);
  }
}

long long DateDifference(const std::wstring& interval, OleDate from, OleDate to) {
  const WholeSecondTime start = ValidWholeSecondTime(TimeLineOf(from));
  const WholeSecondTime end = ValidWholeSecondTime(TimeLineOf(to));
  const std::wstring unit = AsciiLower(interval);

  const auto secondsOf = [](const WholeSecondTime& t) { return t.dayNumber * kSecondsPerDay + t.secondOfDay; };
  const auto monthsOf = [](const WholeSecondTime& t) {
    const CivilDate date = CivilDateOf(t.dayNumber);
    return date.year * 12LL + (date.month - 1);
  };
  // Weeks run from Sunday; day number 1 (31 December 1899) is a Sunday.
  const auto weeksOf = [](const WholeSecondTime& t) { return FloorDiv(t.dayNumber - 1, 7); };

  if (unit == L"yyyy") return FloorDiv(monthsOf(end), 12) - FloorDiv(monthsOf(start), 12);
  if (unit == L"q") return FloorDiv(monthsOf(end), 3) - FloorDiv(monthsOf(start), 3);
  if (unit == L"m") return monthsOf(end) - monthsOf(start);
  if (unit == L"y" || unit == L"d") return end.dayNumber - start.dayNumber;
  if (unit == L"w") return (end.dayNumber - start.dayNumber) / 7;
  if (unit == L"ww") return weeksOf(end) - weeksOf(start);
  if (unit == L"h") return FloorDiv(secondsOf(end), 3600) - FloorDiv(secondsOf(start), 3600);
  if (unit == L"n") return FloorDiv(secondsOf(end), 60) - FloorDiv(secondsOf(start), 60);
  if (unit == L"s") return secondsOf(end) - secondsOf(start);
  throw CheckError(ErrorNumber::InvalidArgument);
}

}  // namespace quarnel

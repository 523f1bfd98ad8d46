#pragma once
// Calendar arithmetic on Automation dates (OleDate, see automation.h).
//
// An OleDate counts days from 30 December 1899. For days before that date
// the integer part counts backwards while the fraction still counts forward
// from midnight: -1.25 is 29 December 1899, 06:00. Everything here works on
// the continuous time line behind that encoding, so arithmetic across
// 30 December 1899 moves the clock the right way. Valid dates lie in the
// years 100 to 9999, as Automation allows.

#include <string>

#include "support/automation.h"

namespace quarnel {

// Proleptic Gregorian calendar fields in local time, as SYSTEMTIME keeps
// them; all zero where a conversion failed.
struct CalendarFields {
  int year = 0;
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
};

bool IsLeapYear(int year);
// The days of the month (1..12) in the year.
int DaysInMonth(int year, int month);

// The date of the fields. Fields are taken as they stand (no range check);
// callers pass a valid calendar date and time.
OleDate OleDateFromFields(const CalendarFields& fields);

// The fields of a date, rounded to the whole second (23:59:59.6 becomes
// 00:00:00 of the next day). Throws CheckError(InvalidArgument) when the
// rounded date lies outside the years 100 to 9999 or is not a number.
CalendarFields FieldsFromOleDate(OleDate date);

// Shifts a date by `amount` units. Unit letters, case ignored:
//   d, y, w  days         h  hours        n  minutes      s  seconds
//   m        calendar months               q  quarters (three months)
// Days, hours, minutes and seconds move the time exactly by the amount,
// fraction included (-1.5 d is 36 hours back). Months and quarters move by
// the amount rounded to a whole number, halves to even (2.5 m is two
// months, 3.5 m four) as Automation's DateAdd rounds; they keep the day of
// the month and the time of day, falling back to the new month's last day
// when that month is shorter (31 January + 1 m is 28 or 29 February).
// Throws CheckError(InvalidArgument) for any other unit letter and when the
// result lies outside the years 100 to 9999.
OleDate ShiftDate(wchar_t unitLetter, double amount, OleDate date);

// The number of interval boundaries crossed from `from` to `to`, as
// Automation's DateDiff counts them (negative when `from` is later); both
// dates are taken to the whole second first. Intervals, case ignored:
//   "yyyy" years, "q" quarters, "m" months,
//   "y", "d" calendar days (midnights crossed),
//   "w" whole weeks of seven days, "ww" calendar weeks (Sundays crossed),
//   "h" hours, "n" minutes, "s" seconds (each time cut down to that unit).
// 10:59:59 -> 11:00:00 gives 1 in "n" and in "h"; 23:59 -> 00:01 the next
// day gives 1 in "d". Throws CheckError(InvalidArgument) for any other
// interval and, like FieldsFromOleDate, for a date outside the valid years.
long long DateDifference(const std::wstring& interval, OleDate from, OleDate to);

}  // namespace quarnel

#pragma once
// The machine's date, number and clock services that the portable logic
// needs: on Windows the Automation runtime (oleaut32) and the system clock
// (automation_win32.cpp); in native tests, fakes with fixed answers.

#include <optional>
#include <string>

namespace quarnel {

// A date and time as Automation keeps it: days since 30 December 1899, the
// time of day as the fraction (for days before that date the fraction
// still counts forward from midnight).
using OleDate = double;

class Clock {
 public:
  virtual ~Clock() = default;
  // The current local date and time, read once per call.
  virtual OleDate Now() = 0;
};

// How the user's regional settings group the digits of a number's integer
// part: the thousands separator and the group sizes from the right as the
// system writes them ("3;0": threes throughout, "3;2;0": three, then twos,
// "3": one group of three and the rest ungrouped, "0": no grouping).
struct DigitGrouping {
  std::wstring separator;
  std::wstring sizes;
};

class Automation {
 public:
  virtual ~Automation() = default;

  // VarFormat of a date with a format picture, the week starting on Sunday
  // and the first week of the year being the one with 1 January.
  virtual std::wstring FormatDate(OleDate value, const std::wstring& picture) = 0;
  // VarFormat of a number with a picture such as "#" or "#0.0"; the decimal
  // separator is the user's.
  virtual std::wstring FormatNumber(double value, const std::wstring& picture) = 0;
  // The locale-aware text-to-date conversion (VarDateFromStr with the user's
  // locale); nothing when the text is no date.
  virtual std::optional<OleDate> DateFromText(const std::wstring& text) = 0;
  // A date/time value as text in the system's general date format.
  virtual std::wstring GeneralDateText(OleDate value) = 0;
  // A number as text by the default number-to-text conversion (regional
  // decimal separator), as the result texts and the dialog show numbers.
  virtual std::wstring NumberText(double value) = 0;
  // A number typed the way the user's regional settings write numbers
  // (decimal separator, digit grouping, blanks, sign, exponent); nothing
  // when the text is no number or too large for a double.
  virtual std::optional<double> NumberFromRegionalText(const std::wstring& text) = 0;
  // The user's regional digit grouping, which NumberFromRegionalText skips
  // wherever its separator stands in the integer part.
  virtual DigitGrouping RegionalDigitGrouping() = 0;
};

}  // namespace quarnel

#pragma once
// The values that one check works with, from the parameter string to the
// evaluation. All of them are local to one run and start empty.

#include <cstdint>
#include <optional>
#include <string>

#include "fileaccess/file_system.h"

namespace quarnel {

struct CheckValues {
  // From the parameter string.
  bool debug = false;
  bool authenticate = false;
  bool notFoundIsOk = false;
  std::wstring userName;
  std::wstring password;  // clear text; wiped when the run ends
  std::wstring path;
  std::wstring what;
  std::wstring unit;
  std::wstring comparison;
  double threshold = 0;

  // Found while the run looks at the files.
  std::wstring serverName;
  std::wstring directoryPrefix;
  std::int32_t entryCount = 0;
  double sizeTotal = 0;
  // Set when the check could not look: the text of the first failure that
  // ends it (a search that was refused, a listing cut short, a failed size
  // read, or a scan that could read no date).
  std::optional<std::wstring> failure;
  std::optional<std::wstring> fileDate;  // Empty until a date is read
  CalendarFields fileDateFields;         // that the file date was written from
  std::wstring chosenPath;

  // Made by the evaluation.
  std::wstring nowText;
  CalendarFields nowFields;
  bool passed = false;
};

// What the "WHT" code asks to measure.
enum class Measurement { Size, CreationDate, LastWriteDate, Scan, Nothing };

struct Kind {
  Measurement measurement = Measurement::Nothing;
  bool creation = false;  // creation time rather than last-write time
  bool oldest = false;    // for a scan: the oldest rather than the youngest
};

Kind KindOf(const std::wstring& what);

// The unit codes, exact and case-sensitive: "B", "KB", "MB", "GB", "TB" for
// a size, whose total is divided by SizeUnitDivisor (1 for "B" and for any
// code that is no size unit); "N", "H", "D" for an age, named in the result
// text by AgeUnitWord ("unknown unit (code)" for any other code).
bool IsSizeUnit(const std::wstring& unit);
double SizeUnitDivisor(const std::wstring& unit);
bool IsAgeUnit(const std::wstring& unit);
std::wstring AgeUnitWord(const std::wstring& unit);
// The minutes in one unit of age for the codes that count minute, hour and
// day boundaries (1, 60, 1440; "N", "H", "D" in either letter case); nothing
// for a code that counts other boundaries.
std::optional<int> MinutesPerAgeUnit(const std::wstring& unit);

}  // namespace quarnel

#pragma once
// What the check run finds when it looks at the files: the measurement that
// the evaluation then judges. It starts empty and is filled as the run
// looks, so that a run that ends in its error report shows how far it got.

#include <cstdint>
#include <optional>
#include <string>

#include "fileaccess/file_system.h"

namespace quarnel {

struct FileMeasurement {
  // The path as it is looked at: the configured one, its date placeholders
  // expanded and a share's root completed to "\*.*" as the run goes.
  std::wstring path;
  std::int32_t entryCount = 0;
  // A walk listed the folder of the path whole: a count of 0 is then a
  // measurement, not nothing found.
  bool folderListed = false;
  double sizeTotal = 0;
  // Set when the check could not look: the text of the first failure that
  // ends it (a search that was refused, a listing cut short, a failed size
  // read, or a scan that could read no date).
  std::optional<std::wstring> failure;
  std::optional<std::wstring> fileDate;  // Empty until a date is read
  CalendarFields fileDateFields;         // that the file date was written from
  std::wstring chosenPath;               // the file an oldest / youngest scan chose
  // The system's code of the search or the read that found nothing.
  std::uint32_t nothingFoundCode = 0;
};

// What a verdict was made from, in the numbers the check measured: for a
// report that needs more than the result text (the Monitoring Plugins mode)
// and must not read its numbers back from that text.
struct CheckReading {
  enum class Finding {
    None,          // could not look, could not measure, or an error report
    Size,          // bytes, shownSize
    Age,           // age, minutes, nowMinuteOfDay
    NothingFound,  // searchedPath, systemCode
    Count,         // count
  };
  Finding finding = Finding::None;
  double bytes = 0;      // the total in bytes
  double shownSize = 0;  // the total in the unit, as the text shows it and the check compares it
  std::int32_t age = 0;  // in the unit, as the text shows it and the check compares it
  std::int32_t count = 0;  // the files counted
  // The minute boundaries between the file's date and now, and the minute
  // of the day that now falls in: the age to the minute, and where the
  // boundaries of an hour or a day lie before now.
  std::int64_t minutes = 0;
  std::int32_t nowMinuteOfDay = 0;
  std::wstring searchedPath;  // the path as the search was given it
  std::uint32_t systemCode = 0;
};

}  // namespace quarnel

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
};

}  // namespace quarnel

#pragma once
// The creation and last-write times of a directory entry as date text in
// local time ("7-Dec-2026 9:5:3"), or an error date text beginning "ERR:"
// ("ERR:The system cannot find the file specified. (2)") when the search
// fails.

#include <cstdint>
#include <optional>
#include <string>

#include "fileaccess/file_system.h"
#include "params/debug_trace.h"
#include "registry/month_names.h"
#include "support/automation.h"

namespace quarnel {

// What one date read gives: the date text and the calendar fields it was
// written from, or, when the search failed, the error date text and the
// system's error code.
struct FileDate {
  std::wstring text;
  bool read = false;
  CalendarFields fields;        // when read
  std::uint32_t errorCode = 0;  // when not read
};

// Searches the path (or pattern: the first entry found) exactly as given.
FileDate GetFileCreateDate(FileSystem& files, const MonthNameTable& months,
                           const std::wstring& path);

// As GetFileCreateDate for the last-write time; also traces the month seen
// and the result.
FileDate GetFileLastWriteDate(FileSystem& files, const MonthNameTable& months, TraceSink& trace,
                              const std::wstring& path);

// The same dates (and trace lines) for an entry that a listing has already
// found under `path`, without searching for it again.
FileDate FileCreateDateOf(FileSystem& files, const MonthNameTable& months,
                          const FindRecord& record);
FileDate FileLastWriteDateOf(FileSystem& files, const MonthNameTable& months, TraceSink& trace,
                             const std::wstring& path, const FindRecord& record);

// A date text read back with the machine's locale-aware conversion. The
// value must lie on the calendar fields that the text was written from: a
// month name that the locale reads as another month gives another date,
// and an age counted from it would be wrong by weeks. Such a text is no
// date, just as one that does not convert at all: both give nothing.
std::optional<OleDate> ReadDateTextBack(Automation& automation, const std::wstring& text,
                                        const CalendarFields& writtenFrom);

// "ERR:", the system's message for the code, " (", the code, ")".
std::wstring ErrorDateText(FileSystem& files, std::uint32_t code);

// Day-month name-year hour:minute:second, numbers without leading zeros.
std::wstring DateText(const MonthNameTable& months, const CalendarFields& fields);

}  // namespace quarnel

#pragma once
// The creation and last-write times of a directory entry as date text in
// local time ("7-Dec-2026 9:5:3"), or an error date text beginning "ERR:"
// ("ERR:The system cannot find the file specified. (2)") when the search
// fails.

#include <cstdint>
#include <string>

#include "fileaccess/file_system.h"
#include "params/debug_trace.h"
#include "registry/month_names.h"

namespace quarnel {

// Searches the path (or pattern: the first entry found) exactly as given.
std::wstring GetFileCreateDate(FileSystem& files, const MonthNameTable& months,
                               const std::wstring& path);

// As GetFileCreateDate for the last-write time; also traces the month seen
// and the result.
std::wstring GetFileLastWriteDate(FileSystem& files, const MonthNameTable& months,
                                  TraceSink& trace, const std::wstring& path);

// The same texts (and trace lines) for an entry that a listing has already
// found under `path`, without searching for it again.
std::wstring FileCreateDateOf(FileSystem& files, const MonthNameTable& months,
                              const FindRecord& record);
std::wstring FileLastWriteDateOf(FileSystem& files, const MonthNameTable& months,
                                 TraceSink& trace, const std::wstring& path,
                                 const FindRecord& record);

// "ERR:", the system's message for the code, " (", the code, ")".
std::wstring ErrorDateText(FileSystem& files, std::uint32_t code);

// Day-month name-year hour:minute:second, numbers without leading zeros.
std::wstring DateText(const MonthNameTable& months, const CalendarFields& fields);

}  // namespace quarnel

#pragma once
// The creation and last-write times of a directory entry as date text in
// local time ("7-Dec-2026 9:5:3"), or an error date text beginning "ERR:"
// ("ERR:The system cannot find the file specified. (2)") when the search
// fails.

#include <cstdint>
#include <optional>
#include <string>

#include "fileaccess/file_system.h"
#include "registry/month_names.h"
#include "support/automation.h"
#include "support/debug_trace.h"
#include "support/text.h"

namespace quarnel {

// What one date read finds: the calendar fields of the entry's time in
// local time, or, when the search failed, the system's error code and the
// error date text. The date text itself is made by DateTextOf, where it is
// needed.
struct FileDate {
  bool read = false;
  CalendarFields fields;        // when read
  std::uint32_t errorCode = 0;  // when not read
  std::wstring errorText;       // when not read
};

// The date text of what was read, or the error date text.
std::wstring DateTextOf(const MonthNameTable& months, const FileDate& date);

// The trace lines of a last-write read of a path: the month seen (for a
// read entry), then the path and the date text. `path` and `text` give those
// texts; they are asked for only when a line is heard.
template <typename Path, typename Text>
void TraceLastWriteDate(TraceSink& trace, const FileDate& date, Path&& path, Text&& text) {
  if (date.read) trace.Trace([&] { return L"Month seen: " + DecimalText(date.fields.month); });
  trace.Trace([&] { return L"GetFileLastWriteDate - " + path() + L" : " + text(); });
}

// The creation time of the entry that the path names; searches the path
// (or pattern: the first entry found) exactly as given.
FileDate GetFileCreateDate(FileSystem& files, const std::wstring& path);

// As GetFileCreateDate for the last-write time; also traces the month seen
// and the result.
FileDate GetFileLastWriteDate(FileSystem& files, const MonthNameTable& months, TraceSink& trace,
                              const std::wstring& path);

// The creation or the last-write time of an entry that a listing has
// already found, without searching for it again and without trace lines.
FileDate ListedFileDate(FileSystem& files, const FindRecord& record, bool creation);

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

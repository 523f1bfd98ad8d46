#include "fileaccess/file_dates.h"

#include <cstdint>
#include <limits>

#include "fileaccess/file_lookup.h"
#include "support/text.h"

namespace quarnel {
namespace {

// The month number as the table's index. The system's conversion gives 1
// to 12, or 0 when it failed; anything that does not fit the index is out
// of the table's range like any other bad index.
std::int16_t MonthIndex(int month) {
  if (month < std::numeric_limits<std::int16_t>::min() ||
      month > std::numeric_limits<std::int16_t>::max())
    return -1;
  return static_cast<std::int16_t>(month);
}

void TraceLastWriteDate(TraceSink& trace, const std::wstring& path, const std::wstring& result) {
  trace.Trace([&] { return L"GetFileLastWriteDate - " + path + L" : " + result; });
}

}  // namespace

std::wstring DateText(const MonthNameTable& months, const CalendarFields& fields) {
  return DecimalText(fields.day) + L"-" + months.GetMonthName(MonthIndex(fields.month)) + L"-" +
         DecimalText(fields.year) + L" " + DecimalText(fields.hour) + L":" +
         DecimalText(fields.minute) + L":" + DecimalText(fields.second);
}

std::wstring ErrorDateText(FileSystem& files, std::uint32_t code) {
  const auto signedCode = static_cast<std::int32_t>(code);
  return L"ERR:" + GetSystemErrorText(files, signedCode) + L" (" + DecimalText(signedCode) + L")";
}

std::wstring FileCreateDateOf(FileSystem& files, const MonthNameTable& months,
                              const FindRecord& record) {
  return DateText(months, files.LocalCalendarFields(record.creationTime));
}

std::wstring FileLastWriteDateOf(FileSystem& files, const MonthNameTable& months,
                                 TraceSink& trace, const std::wstring& path,
                                 const FindRecord& record) {
  const CalendarFields fields = files.LocalCalendarFields(record.lastWriteTime);
  trace.Trace([&] { return L"Month seen: " + DecimalText(fields.month); });
  const std::wstring result = DateText(months, fields);
  TraceLastWriteDate(trace, path, result);
  return result;
}

std::wstring GetFileCreateDate(FileSystem& files, const MonthNameTable& months,
                               const std::wstring& path) {
  const FindResult found = files.FindFirst(path);
  if (!found.found) return ErrorDateText(files, found.errorCode);
  return FileCreateDateOf(files, months, found.record);
}

std::wstring GetFileLastWriteDate(FileSystem& files, const MonthNameTable& months,
                                  TraceSink& trace, const std::wstring& path) {
  const FindResult found = files.FindFirst(path);
  if (found.found) return FileLastWriteDateOf(files, months, trace, path, found.record);
  const std::wstring result = ErrorDateText(files, found.errorCode);
  TraceLastWriteDate(trace, path, result);
  return result;
}

}  // namespace quarnel

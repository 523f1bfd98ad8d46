#include "fileaccess/file_dates.h"

#include <cstdint>
#include <limits>

#include "fileaccess/file_lookup.h"
#include "support/check_error.h"
#include "support/ole_date.h"
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

FileDate SearchFileDate(FileSystem& files, const std::wstring& path, bool creation) {
  const FindResult found = files.FindFirst(path);
  if (found.found) return ListedFileDate(files, found.record, creation);
  FileDate failed;
  failed.errorCode = found.errorCode;
  failed.errorText = ErrorDateText(files, found.errorCode);
  return failed;
}

// Whether a date value, to the whole second, has exactly these fields.
bool LiesOn(OleDate value, const CalendarFields& fields) {
  CalendarFields seen;
  try {
    seen = FieldsFromOleDate(value);
  } catch (const CheckError&) {
    return false;  // outside the calendar: no date of any fields
  }
  return seen.year == fields.year && seen.month == fields.month && seen.day == fields.day &&
         seen.hour == fields.hour && seen.minute == fields.minute && seen.second == fields.second;
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

std::wstring DateTextOf(const MonthNameTable& months, const FileDate& date) {
  return date.read ? DateText(months, date.fields) : date.errorText;
}

FileDate ListedFileDate(FileSystem& files, const FindRecord& record, bool creation) {
  FileDate date;
  date.read = true;
  date.fields = files.LocalCalendarFields(creation ? record.creationTime : record.lastWriteTime);
  return date;
}

FileDate GetFileCreateDate(FileSystem& files, const std::wstring& path) {
  return SearchFileDate(files, path, true);
}

FileDate GetFileLastWriteDate(FileSystem& files, const MonthNameTable& months, TraceSink& trace,
                              const std::wstring& path) {
  const FileDate date = SearchFileDate(files, path, false);
  LazyText text([&] { return DateTextOf(months, date); });
  TraceLastWriteDate(trace, date, [&] { return path; }, text);
  return date;
}

std::optional<OleDate> ReadDateTextBack(Automation& automation, const std::wstring& text,
                                        const CalendarFields& writtenFrom) {
  const std::optional<OleDate> value = automation.DateFromText(text);
  if (!value || !LiesOn(*value, writtenFrom)) return std::nullopt;
  return value;
}

}  // namespace quarnel

#include "support/automation_win32.h"

#include <iterator>
#include <new>

#include "support/check_error.h"
#include "support/com_text_win32.h"
#include "support/ole_date.h"
#include "support/text.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

// VarFormat: the week starts on Sunday, week 1 is the one with 1 January.
constexpr int kFirstDayOfWeekSunday = 1;
constexpr int kFirstWeekOfJanuaryFirst = 1;

// The run-time error a failed conversion raises in the check.
[[noreturn]] void ThrowConversionFailure(HRESULT hr) {
  switch (hr) {
    case DISP_E_OVERFLOW: throw CheckError(ErrorNumber::Overflow);
    case DISP_E_TYPEMISMATCH: throw CheckError(ErrorNumber::TypeMismatch);
    default: throw CheckError(ErrorNumber::InvalidArgument);
  }
}

std::wstring Format(unique_variant& value, const std::wstring& picture) {
  unique_bstr pictureText = BstrOf(picture);
  unique_bstr formatted;
  const HRESULT hr = VarFormat(&value.get(), pictureText.get(), kFirstDayOfWeekSunday,
                               kFirstWeekOfJanuaryFirst, 0, formatted.put());
  if (FAILED(hr)) ThrowConversionFailure(hr);
  return TextOfBstr(formatted.get());
}

std::wstring TextOfNumber(double value) {
  unique_bstr text;
  const HRESULT hr = VarBstrFromR8(value, LOCALE_USER_DEFAULT, 0, text.put());
  if (FAILED(hr)) ThrowConversionFailure(hr);
  return TextOfBstr(text.get());
}

// One of the user's regional settings; empty when the system has none.
std::wstring UserLocaleText(LCTYPE item) {
  wchar_t text[80] = L"";  // the system's limits for these items are far below
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, text, static_cast<int>(std::size(text)));
  return length > 0 ? std::wstring(text, static_cast<std::size_t>(length - 1)) : std::wstring();
}

}  // namespace

std::wstring SystemAutomation::FormatDate(OleDate value, const std::wstring& picture) {
  unique_variant date;
  date.get().vt = VT_DATE;
  date.get().date = value;
  return Format(date, picture);
}

std::wstring SystemAutomation::FormatNumber(double value, const std::wstring& picture) {
  unique_variant number;
  number.get().vt = VT_R8;
  number.get().dblVal = value;
  return Format(number, picture);
}

std::optional<OleDate> SystemAutomation::DateFromText(const std::wstring& text) {
  DATE date = 0;
  unique_bstr dateText = BstrOf(text);
  if (FAILED(VarDateFromStr(dateText.get(), LOCALE_USER_DEFAULT, 0, &date))) return std::nullopt;
  return date;
}

std::wstring SystemAutomation::GeneralDateText(OleDate value) {
  unique_variant date;
  date.get().vt = VT_DATE;
  date.get().date = value;
  unique_variant text;
  const HRESULT hr = VariantChangeTypeEx(text.put(), &date.get(), LOCALE_USER_DEFAULT, 0, VT_BSTR);
  if (FAILED(hr)) ThrowConversionFailure(hr);
  return TextOfBstr(text.get().bstrVal);
}

std::wstring SystemAutomation::NumberText(double value) { return TextOfNumber(value); }

std::optional<double> SystemAutomation::NumberFromRegionalText(const std::wstring& text) {
  double number = 0;
  unique_bstr numberText = BstrOf(TrimSpaces(text));
  if (FAILED(VarR8FromStr(numberText.get(), LOCALE_USER_DEFAULT, 0, &number))) return std::nullopt;
  return number;
}

DigitGrouping SystemAutomation::RegionalDigitGrouping() {
  return {UserLocaleText(LOCALE_STHOUSAND), UserLocaleText(LOCALE_SGROUPING)};
}

OleDate SystemClock::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return OleDateFromFields({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
}

}  // namespace quarnel

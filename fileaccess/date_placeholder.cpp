#include "fileaccess/date_placeholder.h"

#include <limits>

#include "params/leading_number.h"
#include "support/check_error.h"
#include "support/ole_date.h"
#include "support/text.h"

namespace quarnel {
namespace {

// An amount beyond the range of a double moves any date outside the valid
// years, so it fails the way such a shift fails: as an invalid argument.
double ShiftAmountOf(const std::wstring& text) {
  try {
    return ReadLeadingNumber(text);
  } catch (const CheckError& error) {
    if (error.number() != static_cast<int>(ErrorNumber::Overflow)) throw;
    return std::numeric_limits<double>::infinity();
  }
}

}  // namespace

std::wstring ExpandDatePlaceholder(const std::wstring& text, Clock& clock, Automation& automation) {
  const std::size_t open = text.find(L'{');
  if (open == std::wstring::npos) return text;
  // The closing brace is searched from the start of the text, not from the
  // "{". Without one the placeholder ends in front of the text: empty when
  // the "{" comes first (the text stays as it is), a failure otherwise.
  const std::size_t closeFound = text.find(L'}');
  const std::ptrdiff_t afterClose = closeFound == std::wstring::npos ? 0 : static_cast<std::ptrdiff_t>(closeFound) + 1;
  const std::ptrdiff_t length = afterClose - static_cast<std::ptrdiff_t>(open);
  if (length < 0) throw CheckError(ErrorNumber::InvalidArgument);

  const std::wstring placeholder = text.substr(open, static_cast<std::size_t>(length));
  const std::wstring before = text.substr(0, open);
  const std::wstring after = text.substr(static_cast<std::size_t>(afterClose));
  const std::wstring formatted = FormatDatePlaceholder(placeholder, clock, automation);
  // A picture that formats to itself is no date picture: the placeholder stays.
  if (L"{" + formatted + L"}" == placeholder) return before + placeholder + after;
  return before + formatted + after;
}

std::wstring FormatDatePlaceholder(const std::wstring& placeholder, Clock& clock, Automation& automation) {
  if (placeholder.size() < 2 || placeholder.front() != L'{' || placeholder.back() != L'}') return placeholder;
  const std::wstring inner = placeholder.substr(1, placeholder.size() - 2);

  std::size_t shiftBlank = inner.find(L" +");
  if (shiftBlank == std::wstring::npos) shiftBlank = inner.find(L" -");
  if (shiftBlank == std::wstring::npos) return automation.FormatDate(clock.Now(), inner);

  const std::wstring picture = TrimSpaces(inner.substr(0, shiftBlank + 1));
  const std::wstring shift = inner.substr(shiftBlank + 1);  // sign, amount, unit letter
  const double amount = ShiftAmountOf(shift.substr(0, shift.size() - 1));
  return automation.FormatDate(ShiftDate(shift.back(), amount, clock.Now()), picture);
}

}  // namespace quarnel

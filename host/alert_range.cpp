#include "host/alert_range.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "support/text.h"

namespace quarnel {
namespace {

// A number of a range: an optional sign, digits with at most one "." as
// the decimal point, at least one digit; nothing else.
std::optional<double> RangeNumber(const std::wstring& text) {
  size_t position = !text.empty() && (text[0] == L'-' || text[0] == L'+') ? 1 : 0;
  bool digits = false, point = false;
  std::string ascii(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(position));
  for (; position < text.size(); ++position) {
    const wchar_t c = text[position];
    if (IsDigit(c)) {
      digits = true;
    } else if (c == L'.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
    ascii += static_cast<char>(c);
  }
  if (!digits) return std::nullopt;
  const double value = std::strtod(ascii.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

ParsedRange Refused(const std::wstring& problem) { return {std::nullopt, problem}; }

}  // namespace

std::wstring PerformanceNumberText(double value) {
  char text[64];
  value += 0.0;  // no "-0"
  if (value == std::floor(value) && std::fabs(value) < 1e18) {
    std::snprintf(text, sizeof text, "%.0f", value);
  } else {
    std::snprintf(text, sizeof text, "%.17g", value);
  }
  return std::wstring(text, text + std::char_traits<char>::length(text));
}

bool AlertRange::Alerts(double value) const {
  const bool outside = (start && value < *start) || (end && value > *end);
  return alertInside ? !outside : outside;
}

ParsedRange ParseAlertRange(const std::wstring& text) {
  if (text.empty()) return Refused(L"is empty");
  AlertRange range;
  std::wstring rest = text;
  if (rest[0] == L'@') {
    range.alertInside = true;
    rest.erase(0, 1);
  }
  const size_t colon = rest.find(L':');
  std::wstring endText = rest;
  if (colon == std::wstring::npos) {
    if (rest.empty()) return Refused(L"has no end");
    range.start = 0;
  } else {
    if (rest.find(L':', colon + 1) != std::wstring::npos) return Refused(L"has more than one ':'");
    const std::wstring startText = rest.substr(0, colon);
    endText = rest.substr(colon + 1);
    if (startText != L"~") {
      range.start = RangeNumber(startText);
      if (!range.start) return Refused(L"has no number or '~' before its ':'");
    }
  }
  if (!endText.empty()) {
    range.end = RangeNumber(endText);
    if (!range.end) return Refused(L"has no number as its end");
  }
  if (range.start && range.end && *range.start > *range.end) {
    return Refused(L"starts above its end");
  }
  return {range, L""};
}

std::wstring AlertRangeText(const AlertRange& range) {
  std::wstring text = range.alertInside ? L"@" : L"";
  if (!range.start) {
    text += L"~:";
  } else if (*range.start != 0 || !range.end) {
    text += PerformanceNumberText(*range.start) + L":";
  }
  if (range.end) text += PerformanceNumberText(*range.end);
  return text;
}

}  // namespace quarnel

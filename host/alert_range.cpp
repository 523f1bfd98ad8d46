#include "host/alert_range.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/text.h"

namespace quarnel {
namespace {

// The significant digits of a decimal number and the power of ten of its
// first one: "0.0250" is "25" and -2; zero has no digits.
struct SignificantDigits {
  std::string digits;
  long exponent = 0;
};

SignificantDigits SignificantDigitsOf(const std::string& wholeDigits, const std::string& fractionDigits) {
  const std::string all = wholeDigits + fractionDigits;
  const size_t first = all.find_first_not_of('0');
  if (first == std::string::npos) return {};
  const size_t last = all.find_last_not_of('0');
  return {all.substr(first, last - first + 1),
          static_cast<long>(wholeDigits.size()) - static_cast<long>(first) - 1};
}

// Whether the value, written with as many significant digits as the text
// has, gives the text's digits back: else the text names a number that the
// value only comes near (too many digits, too large, too small).
bool HoldsExactly(double value, const SignificantDigits& text) {
  if (text.digits.empty()) return value == 0;
  // No double has more significant digits than this.
  constexpr size_t kMostDigits = 800;
  if (text.digits.size() > kMostDigits || value == 0) return false;
  std::vector<char> written(text.digits.size() + 32);
  std::snprintf(written.data(), written.size(), "%.*e", static_cast<int>(text.digits.size() - 1),
                std::fabs(value));
  const std::string scientific = written.data();
  const size_t e = scientific.find('e');
  std::string digits = scientific.substr(0, e);
  digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
  return digits == text.digits && std::strtol(scientific.c_str() + e + 1, nullptr, 10) == text.exponent;
}

constexpr wchar_t kNotHeldExactly[] =
    L"has a number with too many digits, or too large or too small, to be held exactly";

// A number of a range: an optional sign, digits with at most one "." as
// the decimal point, at least one digit; nothing else. A number that the
// value would only come near is refused with kNotHeldExactly, rather than
// taken as another threshold.
struct RangeNumber {
  std::optional<double> value;
  bool heldExactly = true;
};

RangeNumber ReadRangeNumber(const std::wstring& text) {
  size_t position = !text.empty() && (text[0] == L'-' || text[0] == L'+') ? 1 : 0;
  std::string whole, fraction;
  bool point = false;
  for (; position < text.size(); ++position) {
    const wchar_t c = text[position];
    if (IsDigit(c)) {
      (point ? fraction : whole) += static_cast<char>(c);
    } else if (c == L'.' && !point) {
      point = true;
    } else {
      return {};
    }
  }
  if (whole.empty() && fraction.empty()) return {};
  const std::string ascii = (text[0] == L'-' ? "-" : "") + whole + "." + fraction;
  const double value = std::strtod(ascii.c_str(), nullptr);
  if (!HoldsExactly(value, SignificantDigitsOf(whole, fraction))) return {std::nullopt, false};
  return {value, true};
}

ParsedRange Refused(const std::wstring& problem) { return {std::nullopt, problem}; }

}  // namespace

std::wstring PerformanceNumberText(double value) {
  char text[64];
  value += 0.0;  // no "-0"
  if (value == std::floor(value) && std::fabs(value) < 1e18) {
    std::snprintf(text, sizeof text, "%.0f", value);
  } else {
    // The fewest digits that read back as the same value: 0.1, not 0.10000000000000001.
    for (int digits = 1; digits <= 17; ++digits) {
      std::snprintf(text, sizeof text, "%.*g", digits, value);
      if (std::strtod(text, nullptr) == value) break;
    }
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
  // A missing start is 0, and so is "~" without a ':' ("~" reads as 0:0):
  // as the Monitoring Plugins library reads them.
  range.start = 0;
  if (colon == std::wstring::npos) {
    if (rest.empty()) return Refused(L"has no end");
    if (rest == L"~") endText = L"0";
  } else {
    if (rest.find(L':', colon + 1) != std::wstring::npos) return Refused(L"has more than one ':'");
    const std::wstring startText = rest.substr(0, colon);
    endText = rest.substr(colon + 1);
    if (startText == L"~") {
      range.start.reset();
    } else if (!startText.empty()) {
      const RangeNumber start = ReadRangeNumber(startText);
      if (!start.heldExactly) return Refused(kNotHeldExactly);
      if (!start.value) return Refused(L"has no number or '~' before its ':'");
      range.start = start.value;
    }
  }
  if (!endText.empty()) {
    const RangeNumber end = ReadRangeNumber(endText);
    if (!end.heldExactly) return Refused(kNotHeldExactly);
    if (!end.value) return Refused(L"has no number as its end");
    range.end = end.value;
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

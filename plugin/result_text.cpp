#include "plugin/result_text.h"

#include <cmath>
#include <cstdlib>
#include <iterator>

#include "params/parameter_vocabulary.h"
#include "support/text.h"

namespace quarnel {
namespace {

constexpr wchar_t kSizePrefix[] = L"Size of ", kSizeVerb[] = L" is ";
constexpr wchar_t kCountPrefix[] = L"Number of files matching ";
constexpr wchar_t kWas[] = L" was ", kCreated[] = L"created ", kWritten[] = L"written ",
                  kAgo[] = L" ago";
constexpr wchar_t kDebugStart[] = L" (ID=", kDebugNow[] = L"  - N=", kDebugEnd[] = L")";

// Whole digits, then, when there are decimals, "." or "," and that many
// digits: the pictures of SizePicture as the regional settings write them.
std::optional<double> NumberOf(const std::wstring& text, int decimals) {
  std::wstring whole = text, fraction;
  if (decimals > 0) {
    const std::size_t length = static_cast<std::size_t>(decimals);
    if (text.size() < length + 2 ||
        (text[text.size() - length - 1] != L'.' && text[text.size() - length - 1] != L',')) {
      return std::nullopt;
    }
    whole = text.substr(0, text.size() - length - 1);
    fraction = text.substr(text.size() - length);
    if (!AllDigits(fraction)) return std::nullopt;
  }
  if (!AllDigits(whole)) return std::nullopt;
  const std::string ascii(whole.begin(), whole.end());
  return std::strtod((ascii + "." + std::string(fraction.begin(), fraction.end())).c_str(),
                     nullptr);
}

std::optional<std::int32_t> WholeNumberOf(const std::wstring& text) {
  const bool negative = !text.empty() && text[0] == L'-';
  const std::wstring digits = text.substr(negative ? 1 : 0);
  if (!AllDigits(digits) || digits.size() > 10) return std::nullopt;
  const long long value = std::stoll(digits) * (negative ? -1 : 1);
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<DebugDates> ReadDebugPart(const std::wstring& part) {
  if (!StartsWith(part, kDebugStart) || !EndsWith(part, kDebugEnd)) return std::nullopt;
  const std::wstring inner =
      part.substr(std::size(kDebugStart) - 1,
                  part.size() - (std::size(kDebugStart) - 1) - (std::size(kDebugEnd) - 1));
  const auto now = inner.find(kDebugNow);
  if (now == std::wstring::npos) return std::nullopt;
  return DebugDates{inner.substr(0, now), inner.substr(now + std::size(kDebugNow) - 1)};
}

}  // namespace

std::wstring SizeText(const std::wstring& path, const std::wstring& numberText,
                      const std::wstring& unit) {
  return kSizePrefix + path + kSizeVerb + numberText + L" " + unit;
}

std::wstring CountText(const std::wstring& path, std::int32_t count) {
  return kCountPrefix + path + kSizeVerb + DecimalText(count);
}

double ShownSize(double scaledTotal, const std::wstring& unit) {
  const int decimals = SizeDecimals(unit);
  if (decimals == 0) return std::floor(scaledTotal);
  const double scale = std::pow(10.0, decimals);
  return std::floor(scaledTotal * scale + 0.5) / scale;
}

std::wstring SizePicture(const std::wstring& unit) {
  const int decimals = SizeDecimals(unit);
  return decimals == 0 ? L"#" : L"#0." + std::wstring(static_cast<std::size_t>(decimals), L'0');
}

std::wstring AgeText(const std::wstring& subject, bool creation, std::int32_t age,
                     const std::wstring& unit) {
  return subject + kWas + (creation ? kCreated : kWritten) + DecimalText(age) + L" " +
         AgeUnitWord(unit) + kAgo;
}

std::wstring DebugPart(const std::wstring& fileDate, const std::wstring& nowText) {
  return kDebugStart + fileDate + kDebugNow + nowText + kDebugEnd;
}

std::optional<double> ReadSize(const std::wstring& result, const std::wstring& unit) {
  const std::wstring tail = L" " + unit;
  if (!StartsWith(result, kSizePrefix) || !EndsWith(result, tail)) return std::nullopt;
  const std::wstring front = result.substr(0, result.size() - tail.size());
  const auto verb = front.rfind(kSizeVerb);
  if (verb == std::wstring::npos || verb < std::size(kSizePrefix) - 1) return std::nullopt;
  const std::wstring number = front.substr(verb + std::size(kSizeVerb) - 1);
  // A total of 0 is written as "0" in every unit.
  return number == L"0" ? std::optional<double>(0) : NumberOf(number, SizeDecimals(unit));
}

std::optional<std::int32_t> ReadCount(const std::wstring& result) {
  const auto verb = result.rfind(kSizeVerb);
  if (!StartsWith(result, kCountPrefix) || verb == std::wstring::npos ||
      verb < std::size(kCountPrefix) - 1) {
    return std::nullopt;
  }
  const std::wstring digits = result.substr(verb + std::size(kSizeVerb) - 1);
  // A count is at most 2^31 - 1: ten digits.
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  long long count = 0;
  for (const wchar_t c : digits) {
    if (!IsDigit(c)) return std::nullopt;
    count = count * 10 + (c - L'0');
  }
  if (count > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(count);
}

std::optional<AgeReading> ReadAge(const std::wstring& result, const std::wstring& unit,
                                  bool debug) {
  std::wstring text = result;
  std::optional<DebugDates> dates;
  if (debug) {
    const auto start = text.rfind(kDebugStart);
    if (start == std::wstring::npos) return std::nullopt;
    dates = ReadDebugPart(text.substr(start));
    if (!dates) return std::nullopt;
    text.erase(start);
  }
  const std::wstring tail = L" " + AgeUnitWord(unit) + kAgo;
  if (!EndsWith(text, tail)) return std::nullopt;
  text.erase(text.size() - tail.size());
  const auto space = text.rfind(L' ');
  if (space == std::wstring::npos) return std::nullopt;
  const std::wstring front = text.substr(0, space + 1);
  if (!EndsWith(front, std::wstring(kWas) + kCreated) &&
      !EndsWith(front, std::wstring(kWas) + kWritten)) {
    return std::nullopt;
  }
  const auto age = WholeNumberOf(text.substr(space + 1));
  if (!age) return std::nullopt;
  return AgeReading{*age, dates};
}

std::optional<int> MinuteOfDay(const std::wstring& dateText) {
  const auto space = dateText.rfind(L' ');
  if (space == std::wstring::npos) return std::nullopt;
  const std::wstring time = dateText.substr(space + 1);
  const auto first = time.find(L':'), second = time.rfind(L':');
  if (first == std::wstring::npos || first == second) return std::nullopt;
  const std::wstring hour = time.substr(0, first), minute = time.substr(first + 1, second - first - 1),
                     seconds = time.substr(second + 1);
  if (!AllDigits(hour) || !AllDigits(minute) || !AllDigits(seconds) || hour.size() > 2 ||
      minute.size() > 2 || seconds.size() > 2) {
    return std::nullopt;
  }
  const int h = std::stoi(hour), m = std::stoi(minute);
  if (h > 23 || m > 59 || std::stoi(seconds) > 59) return std::nullopt;
  return h * 60 + m;
}

}  // namespace quarnel

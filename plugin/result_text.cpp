#include "plugin/result_text.h"

#include <cmath>

#include "params/parameter_vocabulary.h"
#include "support/text.h"

namespace quarnel {
namespace {

constexpr wchar_t kSizePrefix[] = L"Size of ", kSizeVerb[] = L" is ";
constexpr wchar_t kCountPrefix[] = L"Number of files matching ";
constexpr wchar_t kWas[] = L" was ", kCreated[] = L"created ", kWritten[] = L"written ",
                  kAgo[] = L" ago";
constexpr wchar_t kDebugStart[] = L" (ID=", kDebugNow[] = L"  - N=", kDebugEnd[] = L")";

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

}  // namespace quarnel

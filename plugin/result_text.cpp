#include "plugin/result_text.h"

#include <cmath>

#include "params/parameter_vocabulary.h"
#include "support/text.h"

namespace quarnel {
namespace {

constexpr wchar_t kSizePrefix[] = L"Size of ", kSizeVerb[] = L" is ";
constexpr wchar_t kWas[] = L" was ", kCreated[] = L"created ", kWritten[] = L"written ",
                  kAgo[] = L" ago";
constexpr wchar_t kDebugStart[] = L" (ID=", kDebugNow[] = L"  - N=", kDebugEnd[] = L")";

bool IsBytes(const std::wstring& unit) { return unit == L"B"; }

}  // namespace

std::wstring SizeText(const std::wstring& path, const std::wstring& numberText,
                      const std::wstring& unit) {
  return kSizePrefix + path + kSizeVerb + numberText + L" " + unit;
}

double ShownSize(double scaledTotal, const std::wstring& unit) {
  return IsBytes(unit) ? std::floor(scaledTotal) : std::floor(scaledTotal * 10 + 0.5) / 10;
}

const wchar_t* SizePicture(const std::wstring& unit) { return IsBytes(unit) ? L"#" : L"#0.0"; }

std::wstring AgeText(const std::wstring& subject, bool creation, std::int32_t age,
                     const std::wstring& unit) {
  return subject + kWas + (creation ? kCreated : kWritten) + DecimalText(age) + L" " +
         AgeUnitWord(unit) + kAgo;
}

std::wstring DebugPart(const std::wstring& fileDate, const std::wstring& nowText) {
  return kDebugStart + fileDate + kDebugNow + nowText + kDebugEnd;
}

}  // namespace quarnel

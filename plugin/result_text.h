#pragma once
// The result texts that show a measurement, as the evaluation writes them:
// their phrases, the unit words and the decimal. Nothing reads them back: a
// report that needs the numbers takes them from the check's CheckReading.

#include <cstdint>
#include <string>

namespace quarnel {

// The texts of a check that found nothing.
inline constexpr wchar_t kNothingFoundText[] = L"No matching files";
inline constexpr wchar_t kNoSizeFoundText[] = L"ERR: No matching files";

// "Size of PATH is NUMBER UNIT"; the number text is made by the caller with
// the regional settings ("1.5", "1,5", "10", "0").
std::wstring SizeText(const std::wstring& path, const std::wstring& numberText,
                      const std::wstring& unit);

// "Number of files matching PATH is COUNT", the count in plain digits.
std::wstring CountText(const std::wstring& path, std::int32_t count);

// The size as the text shows it, which is the value the check compares: in
// a unit without decimals ("B") the whole bytes, in every other unit rounded
// to its decimals (one), halves up.
double ShownSize(double scaledTotal, const std::wstring& unit);

// The picture of the number text for a size in this unit: "#" in "B", "#0.0"
// in every unit with one decimal.
std::wstring SizePicture(const std::wstring& unit);

// "SUBJECT was created AGE UNIT-WORD ago" ("written" for a last-write date).
std::wstring AgeText(const std::wstring& subject, bool creation, std::int32_t age,
                     const std::wstring& unit);

// The debug part after an age: " (ID=FILE-DATE  - N=NOW)".
std::wstring DebugPart(const std::wstring& fileDate, const std::wstring& nowText);

}  // namespace quarnel

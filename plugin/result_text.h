#pragma once
// The result texts that show a measurement, written by the evaluation and
// read back by the Monitoring Plugins report: their phrases, the unit words
// and the decimal. Writer and reader live here together, so that a text the
// one writes is always a text the other reads.

#include <cstdint>
#include <optional>
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

// The count of a count text; nothing when the text is none.
std::optional<std::int32_t> ReadCount(const std::wstring& result);

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

// The number of a size text in this unit, "." or "," as its decimal point;
// nothing when the text is no size text of the unit.
std::optional<double> ReadSize(const std::wstring& result, const std::wstring& unit);

// The date texts of a debug part.
struct DebugDates {
  std::wstring fileDate;
  std::wstring nowText;
};

struct AgeReading {
  std::int32_t age;
  std::optional<DebugDates> debug;  // when the text carries a debug part
};

// The age of an age text in this unit, with its debug part when the check
// was asked for one (`debug`); nothing when the text is no such age text.
std::optional<AgeReading> ReadAge(const std::wstring& result, const std::wstring& unit,
                                  bool debug);

// The minute of the day that a date text ("d-Mon-yyyy h:m:s") shows, read
// from its time alone, so that any month name does; nothing for another text.
std::optional<int> MinuteOfDay(const std::wstring& dateText);

}  // namespace quarnel

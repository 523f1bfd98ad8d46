#pragma once
// The words of the parameter string: its keys, the codes that WHT, CMP and
// UNIT take, and the flag values. The check run reads them, the dialog
// writes them and the lint names them, all from here.

#include <array>
#include <string>

namespace quarnel {

// The keys, in the order that the dialog writes them.
namespace key {
inline constexpr wchar_t kFile[] = L"FILE", kWhat[] = L"WHT", kComparison[] = L"CMP",
                         kValue[] = L"VAL", kUnit[] = L"UNIT", kAuthenticate[] = L"AUTH",
                         kUser[] = L"USR", kPassword[] = L"PWD", kDebug[] = L"DBG",
                         kNotFoundIsOk[] = L"FNF";
}  // namespace key
inline constexpr std::array<const wchar_t*, 10> kKeys{
    key::kFile, key::kWhat,          key::kComparison, key::kValue, key::kUnit,
    key::kAuthenticate, key::kUser, key::kPassword,   key::kDebug, key::kNotFoundIsOk};
// The keys whose value is a flag.
inline constexpr std::array<const wchar_t*, 3> kFlagKeys{key::kAuthenticate, key::kDebug,
                                                         key::kNotFoundIsOk};

// What a check measures (WHT): the total size, or the age by the creation or
// last-write date of one file or of the oldest or youngest match.
namespace what {
inline constexpr wchar_t kSize[] = L"SIZE", kCreationDate[] = L"CDATE",
                         kLastWriteDate[] = L"WDATE", kOldestCreated[] = L"OLDCREA",
                         kYoungestCreated[] = L"YOUCREA", kOldestWritten[] = L"OLDWRITE",
                         kYoungestWritten[] = L"YOUWRITE";
}  // namespace what
inline constexpr std::array<const wchar_t*, 7> kWhatCodes{
    what::kSize,           what::kCreationDate,   what::kLastWriteDate,   what::kOldestCreated,
    what::kYoungestCreated, what::kOldestWritten, what::kYoungestWritten};

// The comparisons (CMP), in the order of the dialog's list: less, greater,
// equal, not equal.
namespace compare {
inline constexpr wchar_t kLess[] = L"LT", kGreater[] = L"GT", kEqual[] = L"EQ",
                         kNotEqual[] = L"NQ";
}  // namespace compare
inline constexpr std::array<const wchar_t*, 4> kComparisonCodes{
    compare::kLess, compare::kGreater, compare::kEqual, compare::kNotEqual};

// The units (UNIT): sizes in factors of 1024 from bytes, ages in minutes,
// hours and days, each in the order of the dialog's list.
inline constexpr std::array<const wchar_t*, 5> kSizeUnitCodes{L"B", L"KB", L"MB", L"GB", L"TB"};
inline constexpr std::array<const wchar_t*, 3> kAgeUnitCodes{L"N", L"H", L"D"};

// A flag is set only by exactly "T"; every other value counts as "F".
inline constexpr wchar_t kFlagSet[] = L"T";
inline constexpr wchar_t kFlagClear[] = L"F";
inline bool IsFlagSet(const std::wstring& value) { return value == kFlagSet; }
inline const wchar_t* FlagText(bool set) { return set ? kFlagSet : kFlagClear; }

// Whether the code is one of the table's, letter case counting.
template <std::size_t N>
bool IsCodeOf(const std::array<const wchar_t*, N>& codes, const std::wstring& code) {
  for (const wchar_t* entry : codes) {
    if (code == entry) return true;
  }
  return false;
}

}  // namespace quarnel

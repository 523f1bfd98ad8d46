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
                         kNotFoundIsOk[] = L"FNF", kSubfolders[] = L"SUB";
}  // namespace key
inline constexpr std::array<const wchar_t*, 11> kKeys{
    key::kFile,  key::kWhat,         key::kComparison, key::kValue,
    key::kUnit,  key::kAuthenticate, key::kUser,       key::kPassword,
    key::kDebug, key::kNotFoundIsOk, key::kSubfolders};
// The keys whose value is a flag.
inline constexpr std::array<const wchar_t*, 4> kFlagKeys{key::kAuthenticate, key::kDebug,
                                                         key::kNotFoundIsOk, key::kSubfolders};

// What a check measures (WHT): the total size, the age by the creation or
// last-write date of one file or of the oldest or youngest match, or the
// number of matching files.
namespace what {
inline constexpr wchar_t kSize[] = L"SIZE", kCreationDate[] = L"CDATE",
                         kLastWriteDate[] = L"WDATE", kOldestCreated[] = L"OLDCREA",
                         kYoungestCreated[] = L"YOUCREA", kOldestWritten[] = L"OLDWRITE",
                         kYoungestWritten[] = L"YOUWRITE", kCount[] = L"COUNT";
}  // namespace what
inline constexpr std::array<const wchar_t*, 8> kWhatCodes{
    what::kSize,           what::kCreationDate,   what::kLastWriteDate,   what::kOldestCreated,
    what::kYoungestCreated, what::kOldestWritten, what::kYoungestWritten, what::kCount};

// The comparisons (CMP), in the order of the dialog's list: less, greater,
// equal, not equal.
namespace compare {
inline constexpr wchar_t kLess[] = L"LT", kGreater[] = L"GT", kEqual[] = L"EQ",
                         kNotEqual[] = L"NQ";
}  // namespace compare
inline constexpr std::array<const wchar_t*, 4> kComparisonCodes{
    compare::kLess, compare::kGreater, compare::kEqual, compare::kNotEqual};

// What the "WHT" code asks to measure.
enum class Measurement { Size, CreationDate, LastWriteDate, Scan, Count, Nothing };

struct Kind {
  Measurement measurement = Measurement::Nothing;
  bool creation = false;  // creation time rather than last-write time
  bool oldest = false;    // for a scan: the oldest rather than the youngest
};

// The kind of a "WHT" code, exact and case-sensitive; an empty code is a
// size, an unknown one measures nothing.
inline Kind KindOf(const std::wstring& code) {
  if (code.empty() || code == what::kSize) return {Measurement::Size, false, false};
  if (code == what::kCreationDate) return {Measurement::CreationDate, true, false};
  if (code == what::kLastWriteDate) return {Measurement::LastWriteDate, false, false};
  if (code == what::kOldestCreated) return {Measurement::Scan, true, true};
  if (code == what::kOldestWritten) return {Measurement::Scan, false, true};
  if (code == what::kYoungestCreated) return {Measurement::Scan, true, false};
  if (code == what::kYoungestWritten) return {Measurement::Scan, false, false};
  if (code == what::kCount) return {Measurement::Count, false, false};
  return {};
}

// Whether the kind lists every match (and so may take in subfolders), as
// against reading the one file the path names.
inline bool IsListing(const Kind& kind) {
  return kind.measurement == Measurement::Size || kind.measurement == Measurement::Scan ||
         kind.measurement == Measurement::Count;
}

// The units (UNIT): sizes in factors of 1024 from bytes, ages in minutes,
// hours and days, each in the order of the dialog's list. An age unit is
// named in a result text by its word, and counted in the date difference by
// its letter in lower case.
inline constexpr std::array<const wchar_t*, 5> kSizeUnitCodes{L"B", L"KB", L"MB", L"GB", L"TB"};
inline constexpr std::array<const wchar_t*, 3> kAgeUnitCodes{L"N", L"H", L"D"};
inline constexpr std::array<const wchar_t*, 3> kAgeUnitWords{L"minutes", L"hours", L"days"};
inline constexpr double kSizeUnitFactor = 1024.0;

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

bool IsSizeUnit(const std::wstring& unit);
bool IsAgeUnit(const std::wstring& unit);
// What a size total is divided by to show it in the unit: one factor of
// 1024 for each step up the list from bytes; 1 for a code that is no size
// unit.
double SizeUnitDivisor(const std::wstring& unit);
// The unit's word in a result text; "unknown unit (code)" for a code that
// is no age unit.
std::wstring AgeUnitWord(const std::wstring& unit);

}  // namespace quarnel

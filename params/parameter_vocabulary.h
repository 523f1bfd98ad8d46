#pragma once
// The codes of the parameter string's values: what WHT, CMP and UNIT take,
// and the flag values. Each kind and each unit is one row that holds all its
// facts; the check run, the evaluation, the result texts, the dialog, the
// lint and the Monitoring Plugins report read the rows and keep no list of
// their own. (The keys themselves are the table of check_configuration.h.)

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace quarnel {

// What a kind measures, in the units of the same quantity. A count of
// files has no unit.
enum class Quantity { Size, Age, Count };
// How a kind looks at the files: it lists every match, or reads the date of
// the one file the path names.
enum class Reads { Listing, OneFile };
// Which date of a file an age counts from.
enum class WhichDate { None, Creation, LastWrite };
// Which match a listing of dates chooses.
enum class Pick { None, Oldest, Youngest };

// A kind of check: a code that WHT takes.
struct Kind {
  const wchar_t* code;
  Quantity quantity;
  Reads reads;
  WhichDate date;
  Pick pick;
  int dialogIndex;  // its entry in the dialog's list of kinds
};

// The kinds, in the order that the lint names them. WHT codes are exact and
// case-sensitive.
inline constexpr std::array<Kind, 8> kKinds{{
    {L"SIZE", Quantity::Size, Reads::Listing, WhichDate::None, Pick::None, 0},
    {L"CDATE", Quantity::Age, Reads::OneFile, WhichDate::Creation, Pick::None, 1},
    {L"WDATE", Quantity::Age, Reads::OneFile, WhichDate::LastWrite, Pick::None, 2},
    {L"OLDCREA", Quantity::Age, Reads::Listing, WhichDate::Creation, Pick::Oldest, 1},
    {L"YOUCREA", Quantity::Age, Reads::Listing, WhichDate::Creation, Pick::Youngest, 1},
    {L"OLDWRITE", Quantity::Age, Reads::Listing, WhichDate::LastWrite, Pick::Oldest, 2},
    {L"YOUWRITE", Quantity::Age, Reads::Listing, WhichDate::LastWrite, Pick::Youngest, 2},
    {L"COUNT", Quantity::Count, Reads::Listing, WhichDate::None, Pick::None, 3},
}};

// The kind of a WHT code: an empty code is a size, an unknown one is no
// kind (nullptr), and the check measures nothing.
const Kind* KindOf(const std::wstring& code);
// Whether the kind counts the age of a date (as against a size).
bool IsDate(const Kind& kind);

// A unit that UNIT takes, of a size or of an age.
struct Unit {
  const wchar_t* code;
  Quantity quantity;
  // Bytes in one unit of size (the divisor of the total), minutes in one
  // unit of age.
  double perUnit;
  // Of an age: the code by which the date difference counts the unit's
  // boundaries, and the word that names the unit after the number in a
  // result text (a size's text shows its code).
  const wchar_t* interval;
  const wchar_t* word;
  const wchar_t* label;  // its entry in the dialog's list of units
  int decimals;          // of a size: the decimals that its result text shows
};

// The units, each quantity in the order of the dialog's list: sizes in
// factors of 1024 from bytes, ages in minutes, hours and days.
inline constexpr std::array<Unit, 8> kUnits{{
    {L"B", Quantity::Size, 1.0, nullptr, nullptr, L"Bytes", 0},
    {L"KB", Quantity::Size, 1024.0, nullptr, nullptr, L"Kilobytes (KB)", 1},
    {L"MB", Quantity::Size, 1024.0 * 1024, nullptr, nullptr, L"Megabytes (MB)", 1},
    {L"GB", Quantity::Size, 1024.0 * 1024 * 1024, nullptr, nullptr, L"Gigabytes (GB)", 1},
    {L"TB", Quantity::Size, 1024.0 * 1024 * 1024 * 1024, nullptr, nullptr, L"Terabytes (TB)", 1},
    {L"N", Quantity::Age, 1, L"n", L"minutes", L"minutes ago", 0},
    {L"H", Quantity::Age, 60, L"h", L"hours", L"hours ago", 0},
    {L"D", Quantity::Age, 24 * 60, L"d", L"days", L"days ago", 0},
}};

// The codes of the kinds, and of the units of a quantity, in table order.
std::vector<std::wstring> KindCodes();
std::vector<std::wstring> UnitCodes(Quantity quantity);
// The unit of the quantity with exactly this code; nullptr for none.
const Unit* UnitOf(const std::wstring& code, Quantity quantity);

bool IsSizeUnit(const std::wstring& unit);
bool IsAgeUnit(const std::wstring& unit);
// What a size total is divided by to show it in the unit; 1 for a code that
// is no size unit.
double SizeUnitDivisor(const std::wstring& unit);
// Whether a size shown in the unit counts whole bytes: "B", and every code
// that is no size unit.
bool CountsBytes(const std::wstring& unit);
// The decimals of a size in the unit; a code that is no size unit shows one,
// as every size unit but bytes does.
int SizeDecimals(const std::wstring& unit);
// The unit's word in a result text; "unknown unit (code)" for a code that
// is no age unit.
std::wstring AgeUnitWord(const std::wstring& unit);
// The code that the date difference counts an age in: an age unit's
// interval, whether the unit is given by its code or by its interval ("H"
// or "h"); any other code as it stands, which the date difference rejects
// unless it knows it.
std::wstring AgeInterval(const std::wstring& unit);
// The minutes in one unit of age for the codes that count minute, hour and
// day boundaries (as AgeInterval reads them); nothing for a code that counts
// other boundaries.
std::optional<int> MinutesPerAgeUnit(const std::wstring& unit);

// The comparisons (CMP), in the order of the dialog's list: less, greater,
// equal, not equal. Dates compare only the first two.
namespace compare {
inline constexpr wchar_t kLess[] = L"LT", kGreater[] = L"GT", kEqual[] = L"EQ",
                         kNotEqual[] = L"NQ";
}  // namespace compare
inline constexpr std::array<const wchar_t*, 4> kComparisonCodes{
    compare::kLess, compare::kGreater, compare::kEqual, compare::kNotEqual};

// A flag is set only by exactly "T"; every other value counts as "F".
inline constexpr wchar_t kFlagSet[] = L"T";
inline constexpr wchar_t kFlagClear[] = L"F";
inline bool IsFlagSet(const std::wstring& value) { return value == kFlagSet; }
inline const wchar_t* FlagText(bool set) { return set ? kFlagSet : kFlagClear; }

// Whether the code is one of the table's, letter case counting.
template <typename Codes>
bool IsCodeOf(const Codes& codes, const std::wstring& code) {
  for (const auto& entry : codes) {
    if (code == entry) return true;
  }
  return false;
}

}  // namespace quarnel

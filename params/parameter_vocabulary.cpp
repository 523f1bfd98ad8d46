#include "params/parameter_vocabulary.h"

namespace quarnel {
namespace {

// The age unit that counts in this date-difference code or is named by it.
const Unit* AgeUnitCountingIn(const std::wstring& unit) {
  for (const Unit& row : kUnits) {
    if (row.quantity == Quantity::Age && (unit == row.code || unit == row.interval)) return &row;
  }
  return nullptr;
}

}  // namespace

const Kind* KindOf(const std::wstring& code) {
  if (code.empty()) return &kKinds[0];
  for (const Kind& row : kKinds) {
    if (code == row.code) return &row;
  }
  return nullptr;
}

bool IsDate(const Kind& kind) { return kind.quantity == Quantity::Age; }

std::vector<std::wstring> KindCodes() {
  std::vector<std::wstring> codes;
  for (const Kind& row : kKinds) codes.emplace_back(row.code);
  return codes;
}

std::vector<std::wstring> UnitCodes(Quantity quantity) {
  std::vector<std::wstring> codes;
  for (const Unit& row : kUnits) {
    if (row.quantity == quantity) codes.emplace_back(row.code);
  }
  return codes;
}

const Unit* UnitOf(const std::wstring& code, Quantity quantity) {
  for (const Unit& row : kUnits) {
    if (row.quantity == quantity && code == row.code) return &row;
  }
  return nullptr;
}

bool IsSizeUnit(const std::wstring& unit) { return UnitOf(unit, Quantity::Size) != nullptr; }

bool IsAgeUnit(const std::wstring& unit) { return UnitOf(unit, Quantity::Age) != nullptr; }

double SizeUnitDivisor(const std::wstring& unit) {
  const Unit* row = UnitOf(unit, Quantity::Size);
  return row ? row->perUnit : 1.0;
}

bool CountsBytes(const std::wstring& unit) { return SizeUnitDivisor(unit) == 1.0; }

int SizeDecimals(const std::wstring& unit) {
  const Unit* row = UnitOf(unit, Quantity::Size);
  return row ? row->decimals : 1;
}

std::wstring AgeUnitWord(const std::wstring& unit) {
  const Unit* row = UnitOf(unit, Quantity::Age);
  return row ? std::wstring(row->word) : L"unknown unit (" + unit + L")";
}

std::wstring AgeInterval(const std::wstring& unit) {
  const Unit* row = AgeUnitCountingIn(unit);
  return row ? std::wstring(row->interval) : unit;
}

std::optional<int> MinutesPerAgeUnit(const std::wstring& unit) {
  const Unit* row = AgeUnitCountingIn(unit);
  if (!row) return std::nullopt;
  return static_cast<int>(row->perUnit);
}

}  // namespace quarnel

#include "params/parameter_vocabulary.h"

namespace quarnel {

bool IsSizeUnit(const std::wstring& unit) { return IsCodeOf(kSizeUnitCodes, unit); }

bool IsAgeUnit(const std::wstring& unit) { return IsCodeOf(kAgeUnitCodes, unit); }

double SizeUnitDivisor(const std::wstring& unit) {
  double divisor = 1.0;
  for (const wchar_t* code : kSizeUnitCodes) {
    if (unit == code) return divisor;
    divisor *= kSizeUnitFactor;
  }
  return 1.0;
}

std::wstring AgeUnitWord(const std::wstring& unit) {
  for (std::size_t i = 0; i < kAgeUnitCodes.size(); ++i) {
    if (unit == kAgeUnitCodes[i]) return kAgeUnitWords[i];
  }
  return L"unknown unit (" + unit + L")";
}

}  // namespace quarnel

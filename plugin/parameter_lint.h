#pragma once
// The configuration lint: what a parameter string asks for that the check
// will take literally although it is almost surely a mistake, such as a
// misspelt key, a value in the wrong letter case or a unit of the wrong
// kind. The lint only reads; the check runs the same with or without it.

#include <string>
#include <vector>

namespace quarnel {

// One line per finding, in the order of the parameter string's entries and
// then of its keys; none for a string that the check reads as meant.
std::vector<std::wstring> LintParameterString(const std::wstring& parameterString);

// Those findings of the lint by which the parameter string names no check at
// all: it gives no path (no FILE, or an empty one) or no kind (an unknown
// WHT). None for a string that names a check, however mistaken.
std::vector<std::wstring> LintNoCheckNamed(const std::wstring& parameterString);

}  // namespace quarnel

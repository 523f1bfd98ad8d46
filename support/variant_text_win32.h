#pragma once
// The text of a VARIANT that the host stored in a property, converted the
// way Automation converts values to text.

#include "support/windows_win32.h"
#include <oaidl.h>

#include <string>

namespace quarnel {

// Empty gives the empty text, a text is taken whole (NUL characters
// included), numbers, dates and Booleans are converted with the user's
// locale, and an object gives its default value, converted the same way.
// Throws CheckError: Null is an invalid use of Null (94); an array, an
// object without a default value or with an object as its default value,
// and anything else that does not convert is a type mismatch (13).
std::wstring VariantText(const VARIANT& value);

}  // namespace quarnel

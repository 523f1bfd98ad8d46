#pragma once
// Texts to and from BSTRs and BSTR VARIANTs. Every text is taken whole,
// NUL characters included.

#include "support/windows_win32.h"
#include <oleauto.h>

#include <string>

#include "support/unique_any_win32.h"

namespace quarnel {

// The text of a BSTR; a null BSTR is the empty text.
std::wstring TextOfBstr(BSTR text);
// A copy of the text as a BSTR; throws std::bad_alloc when none can be made.
unique_bstr BstrOf(const std::wstring& text);
// A VT_BSTR VARIANT that holds a copy of the text; throws std::bad_alloc.
unique_variant TextVariant(const std::wstring& text);

}  // namespace quarnel

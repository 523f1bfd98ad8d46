#include "support/variant_text_win32.h"

#include "support/check_error.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

std::wstring TextOfBstr(BSTR text) { return std::wstring(text, SysStringLen(text)); }

}  // namespace

std::wstring VariantText(const VARIANT& value) {
  unique_variant direct;
  // VariantCopyInd does not change its source; its declaration lacks the const.
  if (FAILED(VariantCopyInd(direct.put(), const_cast<VARIANT*>(&value)))) {
    throw CheckError(ErrorNumber::TypeMismatch);
  }
  switch (V_VT(&direct.get())) {
    case VT_EMPTY: return std::wstring();
    case VT_NULL: throw CheckError(ErrorNumber::InvalidUseOfNull);
    case VT_BSTR: return TextOfBstr(V_BSTR(&direct.get()));
    default: break;
  }
  unique_variant text;
  // Booleans read "True" and "False", as Automation callers write them.
  if (FAILED(VariantChangeTypeEx(text.put(), &direct.get(), LOCALE_USER_DEFAULT,
                                 VARIANT_ALPHABOOL, VT_BSTR))) {
    throw CheckError(ErrorNumber::TypeMismatch);
  }
  return TextOfBstr(V_BSTR(&text.get()));
}

}  // namespace quarnel

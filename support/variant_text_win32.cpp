#include "support/variant_text_win32.h"

#include <utility>

#include "support/check_error.h"
#include "support/com_text_win32.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {


// The value itself when `value` refers to one.
void CopyDirect(const VARIANT& value, unique_variant& direct) {
  // VariantCopyInd does not change its source; its declaration lacks the const.
  if (FAILED(VariantCopyInd(direct.put(), const_cast<VARIANT*>(&value)))) {
    throw CheckError(ErrorNumber::TypeMismatch);
  }
}

bool HoldsObject(const VARIANT& value) {
  return V_VT(&value) == VT_DISPATCH || V_VT(&value) == VT_UNKNOWN;
}

// The object's default value (its DISPID_VALUE property), as Automation
// reads it to convert an object; an object without one is a type mismatch.
void FetchDefaultValue(const VARIANT& object, unique_variant& value) {
  com_ptr<IDispatch> dispatch;
  if (V_VT(&object) == VT_DISPATCH) {
    dispatch = com_ptr<IDispatch>(V_DISPATCH(&object));
  } else if (V_UNKNOWN(&object)) {
    V_UNKNOWN(&object)->QueryInterface(IID_IDispatch, dispatch.put_void());
  }
  if (!dispatch) throw CheckError(ErrorNumber::TypeMismatch);
  DISPPARAMS noArguments{nullptr, nullptr, 0, 0};
  EXCEPINFO exception{};
  unique_variant fetched;
  const HRESULT hr = dispatch->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT,
                                      DISPATCH_PROPERTYGET, &noArguments, fetched.put(),
                                      &exception, nullptr);
  const unique_bstr source(exception.bstrSource), description(exception.bstrDescription),
      helpFile(exception.bstrHelpFile);
  if (FAILED(hr)) throw CheckError(ErrorNumber::TypeMismatch);
  CopyDirect(fetched.get(), value);
}

}  // namespace

std::wstring VariantText(const VARIANT& value) {
  unique_variant direct;
  CopyDirect(value, direct);
  if (HoldsObject(direct.get())) {
    unique_variant defaultValue;
    FetchDefaultValue(direct.get(), defaultValue);
    // One level only: an object whose default value is an object (itself,
    // as often as not) would send the conversion round until the stack ends.
    if (HoldsObject(defaultValue.get())) throw CheckError(ErrorNumber::TypeMismatch);
    std::swap(direct.get(), defaultValue.get());
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

#include "support/com_text_win32.h"

#include <new>

namespace quarnel {

std::wstring TextOfBstr(BSTR text) { return std::wstring(text, SysStringLen(text)); }

unique_bstr BstrOf(const std::wstring& text) {
  unique_bstr copy(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
  if (!copy) throw std::bad_alloc();
  return copy;
}

unique_variant TextVariant(const std::wstring& text) {
  unique_variant value;
  V_BSTR(value.put()) = BstrOf(text).release();
  V_VT(&value.get()) = VT_BSTR;
  return value;
}

}  // namespace quarnel

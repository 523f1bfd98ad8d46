#include "plugin/server/error_result.h"

#include <oleauto.h>

#include <new>
#include <string>

#include "quarnel_h.h"  // generated from plugin/quarnel.idl
#include "support/check_error.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

constexpr wchar_t kErrorSource[] = L"comQuarnel.quarnelcom";

// Automation callers see the low word of a FACILITY_CONTROL HRESULT as the
// error number; numbers that do not fit are reported as a plain failure.
HRESULT HResultOfErrorNumber(int number) {
  if (number <= 0 || number > 0xFFFF) return E_FAIL;
  return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
}

void SetErrorObject(const std::wstring& description) {
  com_ptr<ICreateErrorInfo> creator;
  if (FAILED(CreateErrorInfo(creator.put()))) return;
  creator->SetGUID(IID__quarnelcom);
  creator->SetSource(const_cast<LPOLESTR>(kErrorSource));
  creator->SetDescription(const_cast<LPOLESTR>(description.c_str()));
  com_ptr<IErrorInfo> info;
  if (SUCCEEDED(creator->QueryInterface(IID_IErrorInfo, info.put_void()))) {
    SetErrorInfo(0, info.get());
  }
}

}  // namespace

HRESULT HResultFromCurrentException() noexcept {
  try {
    throw;
  } catch (const CheckError& failure) {
    SetErrorObject(failure.description());
    return HResultOfErrorNumber(failure.number());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace quarnel

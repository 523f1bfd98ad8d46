#include "plugin/server/error_result.h"

#include <oleauto.h>

#include <new>
#include <string>

#include "quarnel_h.h"  // generated from plugin/quarnel.idl
#include "support/check_error.h"
#include "support/debug_trace_win32.h"
#include "support/system_failure_win32.h"
#include "support/text.h"
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

// A failure that the plug-in does not expect leaves a trace line, so that
// the E_UNEXPECTED that the caller sees can be told apart from a host's own.
void TraceUnexpected(TraceSink& trace, const char* what) noexcept {
  try {
    trace.Trace([what] {
      return L"COM ERROR: unexpected exception" +
             (what ? L": " + std::wstring(what, what + std::char_traits<char>::length(what))
                   : std::wstring());
    });
  } catch (...) {
    // Out of memory for the line: the HRESULT still says what happened.
  }
}

}  // namespace

HRESULT HResultFromCurrentException(TraceSink& trace) noexcept {
  try {
    throw;
  } catch (const CheckError& failure) {
    SetErrorObject(failure.description());
    return HResultOfErrorNumber(failure.number());
  } catch (const SystemCallFailure& failure) {
    SetErrorObject(failure.description());
    return failure.hresult();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& failure) {
    TraceUnexpected(trace, failure.what());
    return E_UNEXPECTED;
  } catch (...) {
    TraceUnexpected(trace, nullptr);
    return E_UNEXPECTED;
  }
}

HRESULT HResultFromCurrentException() noexcept {
  SystemDebuggerOutput output;
  ListenedTraceSink trace(output);
  return HResultFromCurrentException(trace);
}

}  // namespace quarnel

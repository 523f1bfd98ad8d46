// What a failure inside a member call becomes at the COM boundary: the
// HRESULT, the error object's description, and a trace line for what the
// plug-in did not expect.

#include "support/windows_win32.h"
#include <oleauto.h>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "plugin/server/error_result.h"
#include "support/check_error.h"
#include "support/debug_trace.h"
#include "support/system_failure_win32.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

class RecordingTrace : public TraceSink {
 public:
  bool Heard() override { return true; }
  void Write(const std::wstring& line) override { lines.push_back(line); }
  std::vector<std::wstring> lines;
};

std::wstring ErrorObjectDescription() {
  com_ptr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) != S_OK) return L"(none)";
  unique_bstr description;
  info->GetDescription(description.put());
  return description ? std::wstring(description.get()) : std::wstring();
}

TEST(ErrorResult, EachKindOfFailureBecomesItsOwnHResult) {
  const struct {
    const char* failure;
    std::function<void()> raise;
    HRESULT expected;
    std::wstring description;  // empty: no error object
    std::vector<std::wstring> trace;
  } cases[] = {
      {"CheckError", [] { throw CheckError(ErrorNumber::FormAlreadyShown); },
       MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 400),
       L"Form already displayed; can't show modally", {}},
      // A Win32 error code is no Automation error number: 1407 would read as
      // Automation error 1407.
      {"SystemCallFailure", [] { throw SystemCallFailure(1407, L"no window class"); },
       HRESULT_FROM_WIN32(1407), L"no window class", {}},
      {"SystemCallFailure without a code", [] { throw SystemCallFailure(0, L"no window"); },
       E_FAIL, L"no window", {}},
      {"bad_alloc", [] { throw std::bad_alloc(); }, E_OUTOFMEMORY, L"", {}},
      {"runtime_error", [] { throw std::runtime_error("broken"); }, E_UNEXPECTED, L"",
       {L"COM ERROR: unexpected exception: broken"}},
      {"an int", [] { throw 42; }, E_UNEXPECTED, L"", {L"COM ERROR: unexpected exception"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failure);
    SetErrorInfo(0, nullptr);
    RecordingTrace trace;
    HRESULT hr = S_OK;
    try {
      c.raise();
    } catch (...) {
      hr = HResultFromCurrentException(trace);
    }
    EXPECT_EQ(hr, c.expected);
    EXPECT_EQ(ErrorObjectDescription(), c.description.empty() ? L"(none)" : c.description);
    EXPECT_EQ(trace.lines, c.trace);
  }
}

}  // namespace
}  // namespace quarnel

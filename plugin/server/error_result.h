#pragma once
// Turns a failure inside a member call into the call's HRESULT, with an
// error object for Automation callers (Err.Number and Err.Description).

#include "support/windows_win32.h"

#include "support/debug_trace.h"

namespace quarnel {

// To be called inside a catch block: a CheckError becomes
// MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number) and a
// SystemCallFailure HRESULT_FROM_WIN32(code), each with its description in
// the thread's error object; std::bad_alloc becomes E_OUTOFMEMORY; anything
// else E_UNEXPECTED, after a trace line that names it.
HRESULT HResultFromCurrentException(TraceSink& trace) noexcept;
// The same with the trace line on the debugger output.
HRESULT HResultFromCurrentException() noexcept;

}  // namespace quarnel

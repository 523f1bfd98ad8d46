#pragma once
// Turns a failure inside a member call into the call's HRESULT, with an
// error object for Automation callers (Err.Number and Err.Description).

#include <windows.h>

namespace quarnel {

// To be called inside a catch block: a CheckError becomes
// MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number) with its
// description in the thread's error object; std::bad_alloc becomes
// E_OUTOFMEMORY; anything else E_UNEXPECTED.
HRESULT HResultFromCurrentException() noexcept;

}  // namespace quarnel

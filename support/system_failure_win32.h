#pragma once
// A Windows call that failed where a member call cannot go on (the dialog's
// window could not be made). It reaches the caller as HRESULT_FROM_WIN32 of
// the system's error code, with its description in the error object: the
// code is no Automation error number and is never passed off as one.

#include "support/windows_win32.h"

#include <exception>
#include <string>
#include <utility>

namespace quarnel {

class SystemCallFailure : public std::exception {
 public:
  SystemCallFailure(DWORD code, std::wstring description)
      : code_(code), description_(std::move(description)) {}

  // E_FAIL when the call set no error code.
  HRESULT hresult() const { return code_ == 0 ? E_FAIL : HRESULT_FROM_WIN32(code_); }
  const std::wstring& description() const { return description_; }
  const char* what() const noexcept override { return "a Windows call failed"; }

 private:
  DWORD code_;
  std::wstring description_;
};

}  // namespace quarnel

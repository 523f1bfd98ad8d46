#pragma once
// A module's own file and the COM apartment of a thread.

#include "support/windows_win32.h"
#include <objbase.h>

#include <string>

namespace quarnel {

// The full path of a loaded module's file (null: the program's), however
// long; empty when the system cannot tell.
std::wstring ModuleFilePath(HMODULE module);

// A single-threaded apartment on the calling thread while this lives; a
// thread that could not enter one leaves nothing to undo.
class unique_apartment {
 public:
  unique_apartment() : entered_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~unique_apartment() {
    if (SUCCEEDED(entered_)) CoUninitialize();
  }
  unique_apartment(const unique_apartment&) = delete;
  unique_apartment& operator=(const unique_apartment&) = delete;
  HRESULT entered() const { return entered_; }

 private:
  HRESULT entered_;
};

}  // namespace quarnel

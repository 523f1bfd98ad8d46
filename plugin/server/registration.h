#pragma once
// Self-registration: the class, its programmatic identifier and the type
// library, written into HKEY_CLASSES_ROOT and removed again.

#include "support/windows_win32.h"

namespace quarnel {

// On a failure everything written so far is removed again.
HRESULT RegisterServer();
// Keys and type library entries that are already gone count as removed.
HRESULT UnregisterServer();

}  // namespace quarnel

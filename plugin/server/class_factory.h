#pragma once
// The class factory behind DllGetClassObject.

#include "support/windows_win32.h"

namespace quarnel {

// Hands out the factory of `clsid` (only quarnelcom is served).
HRESULT GetClassFactory(REFCLSID clsid, REFIID iid, void** factory);

}  // namespace quarnel

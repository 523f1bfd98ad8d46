#pragma once
// The class factory behind DllGetClassObject.

#include <windows.h>

namespace quarnel {

// Hands out a new factory for `clsid` (only quarnelcom is served).
HRESULT GetClassFactory(REFCLSID clsid, REFIID iid, void** factory);

}  // namespace quarnel

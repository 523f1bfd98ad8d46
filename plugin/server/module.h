#pragma once
// What the DLL knows about itself: its module handle and path, its own
// type library, and whether anything still keeps it loaded.

#include "support/windows_win32.h"
#include <oaidl.h>

#include <string>

namespace quarnel {

void RememberModule(HINSTANCE module);
std::wstring ModulePath();

// Live objects, live class factories and LockServer(TRUE) calls each hold
// one reference; DllCanUnloadNow says yes only when none is left.
void AddModuleReference();
void ReleaseModuleReference();
bool ModuleInUse();

// The type library embedded in this DLL as resource TYPELIB 1.
HRESULT LoadOwnTypeLibrary(ITypeLib** library);

// The type information of _quarnelcom from that library, loaded by the first
// call and shared by every object in the process afterwards; the caller gets
// its own reference. A failed load is tried again by the next call.
HRESULT InterfaceTypeInfo(ITypeInfo** info);
// Releases the shared type information, when the DLL is unloaded.
void ReleaseInterfaceTypeInfo();

}  // namespace quarnel

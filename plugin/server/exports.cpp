// The four entry points of the in-process server (exported through
// comquarnel.def) and the DLL's entry function.

#include "support/windows_win32.h"

#include "plugin/server/class_factory.h"
#include "plugin/server/module.h"
#include "plugin/server/registration.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    quarnel::RememberModule(module);
    DisableThreadLibraryCalls(module);
  }
  // Unloaded by FreeLibrary (reserved is null): oleaut32 is still loaded and
  // takes its reference back. At process exit nothing is released: the
  // other DLLs may be gone already.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) quarnel::ReleaseInterfaceType();
  return TRUE;
}

STDAPI DllCanUnloadNow() { return quarnel::ModuleInUse() ? S_FALSE : S_OK; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* factory) {
  return quarnel::GetClassFactory(clsid, iid, factory);
}

STDAPI DllRegisterServer() { return quarnel::RegisterServer(); }

STDAPI DllUnregisterServer() { return quarnel::UnregisterServer(); }

#include "plugin/server/module.h"

#include <oleauto.h>

#include <atomic>
#include <mutex>

#include "quarnel_h.h"  // generated from plugin/quarnel.idl
#include "support/module_win32.h"

namespace quarnel {
namespace {

HINSTANCE thisModule = nullptr;
std::atomic<long> moduleReferences{0};

std::mutex typeInfoLock;
ITypeInfo* interfaceTypeInfo = nullptr;

}  // namespace

void RememberModule(HINSTANCE module) { thisModule = module; }

std::wstring ModulePath() { return ModuleFilePath(thisModule); }

void AddModuleReference() { ++moduleReferences; }
void ReleaseModuleReference() { --moduleReferences; }
bool ModuleInUse() { return moduleReferences > 0; }

HRESULT LoadOwnTypeLibrary(ITypeLib** library) {
  const std::wstring path = ModulePath();
  if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
  return LoadTypeLibEx(path.c_str(), REGKIND_NONE, library);
}

HRESULT InterfaceTypeInfo(ITypeInfo** info) {
  *info = nullptr;
  std::lock_guard<std::mutex> guard(typeInfoLock);
  if (interfaceTypeInfo == nullptr) {
    ITypeLib* library = nullptr;
    const HRESULT loaded = LoadOwnTypeLibrary(&library);
    if (FAILED(loaded)) return loaded;
    const HRESULT found = library->GetTypeInfoOfGuid(IID__quarnelcom, &interfaceTypeInfo);
    library->Release();
    if (FAILED(found)) {
      interfaceTypeInfo = nullptr;
      return found;
    }
  }
  interfaceTypeInfo->AddRef();
  *info = interfaceTypeInfo;
  return S_OK;
}

void ReleaseInterfaceTypeInfo() {
  std::lock_guard<std::mutex> guard(typeInfoLock);
  if (interfaceTypeInfo != nullptr) interfaceTypeInfo->Release();
  interfaceTypeInfo = nullptr;
}

}  // namespace quarnel

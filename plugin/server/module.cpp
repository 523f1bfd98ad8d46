#include "plugin/server/module.h"

#include <oleauto.h>

#include <atomic>
#include <mutex>

#include "quarnel_h.h"  // generated from plugin/quarnel.idl

namespace quarnel {
namespace {

HINSTANCE thisModule = nullptr;
std::atomic<long> moduleReferences{0};

std::mutex typeInfoLock;
ITypeInfo* interfaceTypeInfo = nullptr;

}  // namespace

void RememberModule(HINSTANCE module) { thisModule = module; }

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(thisModule, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // the path was cut: try again with room for it
  }
}

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

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

std::mutex interfaceTypeLock;
std::shared_ptr<const InterfaceType> interfaceType;

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

InterfaceType::InterfaceType(com_ptr<ITypeInfo> typeInfo) : typeInfo_(std::move(typeInfo)) {
  constexpr INVOKEKIND kCountedKinds =
      static_cast<INVOKEKIND>(INVOKE_FUNC | INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF);
  TYPEATTR* attributes = nullptr;
  if (FAILED(typeInfo_->GetTypeAttr(&attributes))) return;
  const WORD functions = attributes->cFuncs;
  typeInfo_->ReleaseTypeAttr(attributes);

  const auto release = [this](FUNCDESC* function) { typeInfo_->ReleaseFuncDesc(function); };
  for (UINT index = 0; index < functions; ++index) {
    FUNCDESC* raw = nullptr;
    if (FAILED(typeInfo_->GetFuncDesc(index, &raw))) continue;
    const std::unique_ptr<FUNCDESC, decltype(release)> function(raw, release);
    if (!(function->invkind & kCountedKinds)) continue;
    UINT count = 0;
    for (SHORT parameter = 0; parameter < function->cParams; ++parameter) {
      if (!(function->lprgelemdescParam[parameter].paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) {
        ++count;
      }
    }
    members_.push_back({function->memid, function->invkind, count});
  }
}

std::optional<UINT> InterfaceType::DeclaredArgumentCount(DISPID id, WORD flags) const {
  for (const Member& member : members_) {
    if (member.id == id && (member.kind & flags)) return member.arguments;
  }
  return std::nullopt;
}

HRESULT LoadInterfaceType(std::shared_ptr<const InterfaceType>& type) {
  std::lock_guard<std::mutex> guard(interfaceTypeLock);
  if (!interfaceType) {
    com_ptr<ITypeLib> library;
    const HRESULT loaded = LoadOwnTypeLibrary(library.put());
    if (FAILED(loaded)) return loaded;
    com_ptr<ITypeInfo> typeInfo;
    const HRESULT found = library->GetTypeInfoOfGuid(IID__quarnelcom, typeInfo.put());
    if (FAILED(found)) return found;
    interfaceType = std::make_shared<const InterfaceType>(std::move(typeInfo));
  }
  type = interfaceType;
  return S_OK;
}

void ReleaseInterfaceType() {
  std::lock_guard<std::mutex> guard(interfaceTypeLock);
  interfaceType.reset();
}

}  // namespace quarnel

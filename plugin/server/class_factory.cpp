#include "plugin/server/class_factory.h"

#include <unknwn.h>

#include "plugin/server/module.h"
#include "plugin/server/quarnelcom.h"

namespace quarnel {
namespace {

// The one class factory of the process, a static object as Wine's own COM
// servers keep theirs: nothing to allocate or free. Each reference that a
// caller holds keeps the DLL loaded, so that it may hold the factory between
// DllGetClassObject and CreateInstance.
class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  // The counts that a static object returns carry no meaning: 2 and 1, as
  // Wine's factories answer.
  ULONG STDMETHODCALLTYPE AddRef() override {
    AddModuleReference();
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    ReleaseModuleReference();
    return 1;
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return quarnelcom::Create(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      AddModuleReference();
    } else {
      ReleaseModuleReference();
    }
    return S_OK;
  }
};

ClassFactory theClassFactory;

}  // namespace

HRESULT GetClassFactory(REFCLSID clsid, REFIID iid, void** factory) {
  if (factory == nullptr) return E_POINTER;
  *factory = nullptr;
  if (clsid != CLSID_quarnelcom) return CLASS_E_CLASSNOTAVAILABLE;
  return theClassFactory.QueryInterface(iid, factory);
}

}  // namespace quarnel

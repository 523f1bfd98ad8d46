#include "plugin/server/class_factory.h"

#include <unknwn.h>

#include <atomic>
#include <new>

#include "plugin/server/module.h"
#include "plugin/server/quarnelcom.h"

namespace quarnel {
namespace {

// A factory keeps the DLL loaded while it lives, so that a caller may hold
// it between DllGetClassObject and CreateInstance.
class ClassFactory final : public IClassFactory {
 public:
  ClassFactory() { AddModuleReference(); }
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

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
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
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

 private:
  ~ClassFactory() { ReleaseModuleReference(); }
  std::atomic<ULONG> references_{1};
};

}  // namespace

HRESULT GetClassFactory(REFCLSID clsid, REFIID iid, void** factory) {
  if (factory == nullptr) return E_POINTER;
  *factory = nullptr;
  if (clsid != CLSID_quarnelcom) return CLASS_E_CLASSNOTAVAILABLE;
  ClassFactory* created = new (std::nothrow) ClassFactory();
  if (created == nullptr) return E_OUTOFMEMORY;
  const HRESULT answered = created->QueryInterface(iid, factory);
  created->Release();
  return answered;
}

}  // namespace quarnel

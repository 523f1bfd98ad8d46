#pragma once
// The plug-in object through its registered class, as a C++ host drives it:
// an apartment for the calling thread, the object made by its programmatic
// identifier, its parameter string stored, a check run and its result read,
// the DLL's unloading rule, and a minimal Automation object for tests that
// store objects in the properties.

#include "support/windows_win32.h"
#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <utility>

#include "build_tree.h"
#include "com_ids.h"  // kPluginProgId, generated from plugin/quarnel.idl
#include "quarnel_h.h"  // generated from plugin/quarnel.idl
#include "support/com_text_win32.h"
#include "support/module_win32.h"
#include "support/unique_any_win32.h"

namespace quarnel {

// A single-threaded apartment on the calling thread while this lives.
using ThreadApartment = unique_apartment;

// The test program's main thread in an apartment for the whole run, as a
// host's main thread is; registered with testing::AddGlobalTestEnvironment.
class MainThreadApartment : public testing::Environment {
 public:
  void SetUp() override {
    apartment_.emplace();
    ASSERT_EQ(apartment_->entered(), S_OK);
  }
  void TearDown() override { apartment_.reset(); }

 private:
  std::optional<ThreadApartment> apartment_;
};

inline CLSID PluginClassId() {
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(kPluginProgId, &clsid), S_OK);
  return clsid;
}

// A new object of the registered class on its own interface; null when it
// cannot be made.
inline com_ptr<_quarnelcom> CreatePlugin() {
  com_ptr<_quarnelcom> plugin;
  EXPECT_EQ(CoCreateInstance(PluginClassId(), nullptr, CLSCTX_INPROC_SERVER, IID__quarnelcom,
                             plugin.put_void()),
            S_OK);
  return plugin;
}

// The class object of the registered class, whose LockServer keeps the DLL
// loaded; null when it cannot be had.
inline com_ptr<IClassFactory> GetPluginFactory() {
  com_ptr<IClassFactory> factory;
  EXPECT_EQ(CoGetClassObject(PluginClassId(), CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             factory.put_void()),
            S_OK);
  return factory;
}

// The plug-in's DLL loaded once more by this process, which adds no object
// or lock of its own, to ask DllCanUnloadNow whether COM may unload it.
class PluginModule {
 public:
  PluginModule() : module_(LoadLibraryW(PluginDllPath().c_str())) {
    if (module_) {
      canUnloadNow_ = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
          reinterpret_cast<void*>(GetProcAddress(module_.get(), "DllCanUnloadNow")));
    }
  }
  // Whether the DLL is loaded and exports DllCanUnloadNow.
  bool loaded() const { return canUnloadNow_ != nullptr; }
  HRESULT CanUnloadNow() const { return canUnloadNow_(); }

 private:
  unique_hmodule module_;
  HRESULT(STDAPICALLTYPE* canUnloadNow_)() = nullptr;
};

// Writes a text into a cleared VARIANT; the text may hold NUL characters.
inline void MakeText(VARIANT* value, const std::wstring& text) {
  *value = TextVariant(text).release();
}

// Writes an object into a cleared VARIANT, with a reference of the VARIANT's
// own that clearing it releases.
inline void MakeObject(VARIANT* value, IDispatch& object) {
  object.AddRef();
  V_DISPATCH(value) = &object;
  V_VT(value) = VT_DISPATCH;
}

// The whole text of a VARIANT, NUL characters included; empty when it holds
// no text.
inline std::wstring TextOf(const VARIANT& value) {
  return V_VT(&value) == VT_BSTR ? TextOfBstr(V_BSTR(&value)) : std::wstring();
}

inline HRESULT PutParameterString(_quarnelcom* plugin, const std::wstring& text) {
  unique_variant value;
  MakeText(value.put(), text);
  return plugin->put_sa_parameter(value.get());
}

// What one sa_docheck gave: the call's own result, the status and sa_result.
struct CheckOutcome {
  HRESULT call;
  VARIANT_BOOL status;
  VARTYPE resultType;
  std::wstring result;  // empty when sa_result holds no text
};

inline CheckOutcome RunCheck(_quarnelcom* plugin) {
  CheckOutcome outcome{};
  outcome.status = 1;  // neither true nor false: the call has to set it
  outcome.call = plugin->sa_docheck(&outcome.status);
  unique_variant result;
  plugin->get_sa_result(result.put());
  outcome.resultType = V_VT(&result.get());
  outcome.result = TextOf(result.get());
  return outcome;
}

// An Automation object for the properties, with no members of its own. It
// counts its references, starting with the test's own, so that a test sees
// whether the plug-in lets it go. With a default value (DISPID_VALUE) it
// converts to that text, as a script's object with a default property does;
// without one it converts to nothing. One made by YieldingItself gives
// itself as its default value, as a careless script's object may.
class CountedObject : public IDispatch {
 public:
  CountedObject() = default;
  explicit CountedObject(std::wstring defaultValue) : defaultValue_(std::move(defaultValue)) {}
  struct YieldingItself {};
  explicit CountedObject(YieldingItself) : yieldsItself_(true) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != IID_IDispatch) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    if ((!defaultValue_ && !yieldsItself_) || id != DISPID_VALUE ||
        !(flags & DISPATCH_PROPERTYGET) || !result) {
      return DISP_E_MEMBERNOTFOUND;
    }
    if (yieldsItself_) {
      MakeObject(result, *this);
    } else {
      MakeText(result, *defaultValue_);
    }
    return S_OK;
  }

  std::atomic<ULONG> references{1};

 private:
  std::optional<std::wstring> defaultValue_;
  bool yieldsItself_ = false;
};

}  // namespace quarnel

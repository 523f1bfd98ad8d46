#pragma once
// The plug-in as a monitoring host sees it: an object created by its
// programmatic identifier and driven through IDispatch by member names.

#include "support/windows_win32.h"
#include <oaidl.h>

#include <string>

#include "support/unique_any_win32.h"

namespace quarnel {

// A failed COM call, with what the object said about it.
struct CallFailure {
  std::wstring call;
  HRESULT result;
  std::wstring description;  // from EXCEPINFO; may be empty
};

// No class is registered under the programmatic identifier, or the class
// that it names is not.
struct NotRegistered {
  std::wstring progId;
  HRESULT result;
};

class LateBoundObject {
 public:
  // Throws NotRegistered when the class is not registered, CallFailure when
  // it cannot be made.
  explicit LateBoundObject(const std::wstring& progId);

  // Each throws CallFailure when the name is unknown or the call fails.
  void Put(const std::wstring& property, const VARIANT& value);
  unique_variant Get(const std::wstring& property);
  unique_variant Call(const std::wstring& method);

  // Another interface of the object, which no name reaches; throws
  // CallFailure when the object has none such.
  template <typename Interface>
  com_ptr<Interface> Query(REFIID iid, const std::wstring& name) {
    com_ptr<Interface> other;
    const HRESULT result = object_->QueryInterface(iid, other.put_void());
    if (FAILED(result)) throw CallFailure{L"QueryInterface(" + name + L")", result, L""};
    return other;
  }

 private:
  DISPID IdOf(const std::wstring& name);
  unique_variant Invoke(const std::wstring& name, WORD kind, DISPPARAMS& arguments);

  com_ptr<IDispatch> object_;
};

// The system's message for an HRESULT, empty when it has none.
std::wstring MessageOf(HRESULT result);

}  // namespace quarnel

#include "host/late_binding.h"

#include <objbase.h>

#include "support/text.h"

namespace quarnel {
LateBoundObject::LateBoundObject(const std::wstring& progId) {
  CLSID clsid;
  HRESULT result = CLSIDFromProgID(progId.c_str(), &clsid);
  if (result == CO_E_CLASSSTRING) throw NotRegistered{progId, result};
  if (FAILED(result)) throw CallFailure{L"CLSIDFromProgID(" + progId + L")", result, L""};
  result = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object_.put_void());
  if (result == REGDB_E_CLASSNOTREG) throw NotRegistered{progId, result};
  if (FAILED(result)) throw CallFailure{L"CoCreateInstance(" + progId + L")", result, L""};
}

DISPID LateBoundObject::IdOf(const std::wstring& name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT result = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(result)) throw CallFailure{L"GetIDsOfNames(" + name + L")", result, L""};
  return id;
}

unique_variant LateBoundObject::Invoke(const std::wstring& name, WORD kind, DISPPARAMS& arguments) {
  const DISPID id = IdOf(name);
  unique_variant answer;
  EXCEPINFO exception{};
  UINT badArgument = 0;
  HRESULT result = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &arguments,
                                   answer.put(), &exception, &badArgument);
  if (result == DISP_E_EXCEPTION && exception.pfnDeferredFillIn != nullptr) {
    exception.pfnDeferredFillIn(&exception);
  }
  const unique_bstr source(exception.bstrSource);
  const unique_bstr description(exception.bstrDescription);
  const unique_bstr helpFile(exception.bstrHelpFile);
  if (result == DISP_E_EXCEPTION) {
    // The member's own failure code, as an Automation caller would see it.
    result = exception.scode != 0
                 ? exception.scode
                 : MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, exception.wCode);
  }
  if (FAILED(result)) {
    throw CallFailure{name, result,
                      description ? std::wstring(description.get()) : std::wstring()};
  }
  return answer;
}

void LateBoundObject::Put(const std::wstring& property, const VARIANT& value) {
  VARIANT argument = value;  // a shallow view: Invoke only reads its arguments
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS arguments{&argument, &named, 1, 1};
  Invoke(property, DISPATCH_PROPERTYPUT, arguments);
}

unique_variant LateBoundObject::Get(const std::wstring& property) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  return Invoke(property, DISPATCH_PROPERTYGET, none);
}

unique_variant LateBoundObject::Call(const std::wstring& method) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  return Invoke(method, DISPATCH_METHOD, none);
}

std::wstring MessageOf(HRESULT result) {
  wchar_t message[1024];
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     static_cast<DWORD>(result), 0, message, 1024, nullptr);
  std::wstring text(message, length);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
  return TrimSpaces(text);
}

}  // namespace quarnel

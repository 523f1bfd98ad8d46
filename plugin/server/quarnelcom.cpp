#include "plugin/server/quarnelcom.h"

#include <oleauto.h>

#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "dialog/dialog_model.h"
#include "params/check_configuration.h"
#include "plugin/check_reading_win32.h"
#include "plugin/check_win32.h"
#include "plugin/server/error_result.h"
#include "plugin/server/module.h"
#include "support/com_text_win32.h"
#include "support/text.h"
#include "support/variant_text_win32.h"

namespace quarnel {
namespace {

// Replaces the stored value with its own copy of `value`, whatever its type.
// A by-reference VARIANT is followed to its value, so that nothing keeps a
// pointer into the caller's memory; an object inside is held by a new
// reference. When the copy fails the stored value stays as it was.
HRESULT StoreCopy(unique_variant& stored, const VARIANT& value) {
  unique_variant copy;
  const HRESULT copied = VariantCopyInd(copy.put(), const_cast<VARIANT*>(&value));
  if (FAILED(copied)) return copied;
  std::swap(stored.get(), copy.get());
  return S_OK;
}

// Hands out a copy of the stored value; an object inside comes out as a new
// reference to the same object.
HRESULT CopyStored(const unique_variant& stored, VARIANT* value) {
  if (value == nullptr) return E_POINTER;
  VariantInit(value);
  return VariantCopy(value, const_cast<VARIANT*>(&stored.get()));
}

// An argument block whose counts its arrays can hold: the type information
// runtime reads them without looking, and faults on a missing array.
bool IsConsistent(const DISPPARAMS* arguments) {
  return arguments != nullptr && (arguments->cArgs == 0 || arguments->rgvarg != nullptr) &&
         (arguments->cNamedArgs == 0 || arguments->rgdispidNamedArgs != nullptr) &&
         arguments->cNamedArgs <= arguments->cArgs;
}

}  // namespace

HRESULT quarnelcom::Create(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  std::shared_ptr<const InterfaceType> type;
  com_ptr<_quarnelcom> created;
  try {
    const HRESULT loaded = LoadInterfaceType(type);
    if (FAILED(loaded)) return loaded;
    // A new object holds one reference, which `created` takes over.
    created = com_ptr<_quarnelcom>::attach(new quarnelcom(std::move(type)));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
  return created->QueryInterface(iid, object);
}

quarnelcom::quarnelcom(std::shared_ptr<const InterfaceType> type)
    : type_(std::move(type)), dialog_(std::make_unique<FrmMain>()) {
  AddModuleReference();
}

quarnelcom::~quarnelcom() { ReleaseModuleReference(); }

HRESULT quarnelcom::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__quarnelcom) {
    *object = static_cast<_quarnelcom*>(this);
  } else if (iid == IID_ISupportErrorInfo) {
    *object = static_cast<ISupportErrorInfo*>(this);
  } else if (iid == IID_IQuarnelReading) {
    *object = static_cast<IQuarnelReading*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG quarnelcom::AddRef() { return ++references_; }

ULONG quarnelcom::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT quarnelcom::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT quarnelcom::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  ITypeInfo& typeInfo = type_->typeInfo();
  typeInfo.AddRef();
  *info = &typeInfo;
  return S_OK;
}

HRESULT quarnelcom::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  return DispGetIDsOfNames(&type_->typeInfo(), names, count, ids);
}

HRESULT quarnelcom::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* arguments,
                           VARIANT* result, EXCEPINFO* exception, UINT* badArgument) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!IsConsistent(arguments)) return E_INVALIDARG;
  // Every member takes a fixed number of arguments. Some type-information
  // runtimes call a method with surplus arguments, or assign the first of
  // several values, instead of refusing the call: sa_showGUI would then
  // open its dialog for a call that was meant otherwise.
  const std::optional<UINT> declared = type_->DeclaredArgumentCount(id, flags);
  if (declared && arguments->cArgs != *declared) return DISP_E_BADPARAMCOUNT;
  return type_->typeInfo().Invoke(static_cast<_quarnelcom*>(this), id, flags, arguments, result,
                           exception, badArgument);
}

HRESULT quarnelcom::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IID__quarnelcom ? S_OK : S_FALSE;
}

HRESULT quarnelcom::sa_docheck(VARIANT_BOOL* status) {
  if (status == nullptr) return E_POINTER;
  *status = VARIANT_FALSE;
  lastReading_ = CheckReading();
  try {
    HostCheckResult outcome = RunCheckForHost(parameter_.get());
    const HRESULT stored = StoreResultText(outcome.result);
    if (FAILED(stored)) return stored;
    lastReading_ = std::move(outcome.reading);
    *status = outcome.status;
    return S_OK;
  } catch (...) {
    return HResultFromCurrentException();
  }
}

HRESULT quarnelcom::LastReading(QuarnelReading* reading) {
  if (reading == nullptr) return E_POINTER;
  *reading = QuarnelReading{};
  try {
    *reading = TransferredReading(lastReading_);
    return S_OK;
  } catch (...) {
    return HResultFromCurrentException();
  }
}

HRESULT quarnelcom::StoreResultText(const std::optional<std::wstring>& text) {
  unique_variant value;
  if (text) value = TextVariant(*text);
  // Through the property's own put, as a host's assignment would go.
  return put_sa_result(value.get());
}

HRESULT quarnelcom::sa_showGUI() {
  try {
    dialog_->RefuseWhileShown();
    const std::wstring timeoutText = TrimSpaces(VariantText(timeout_.get()));
    const std::wstring parameterString = VariantText(parameter_.get());
    const std::wstring hostName = VariantText(hostname_.get());
    const std::optional<CheckConfiguration> confirmed =
        dialog_->ShowModal(timeoutText, DialogConfigurationOf(parameterString), hostName);
    // Closed with the close box: the configuration stays as it was.
    if (!confirmed) return S_OK;

    return put_sa_parameter(TextVariant(WriteConfiguration(*confirmed)).get());
  } catch (...) {
    return HResultFromCurrentException();
  }
}

// putref takes an object by reference: StoreCopy holds the object itself,
// with its reference count raised. A value that holds no object (a text, a
// number) is stored as put would store it, rather than refused, so that a
// host that assigns everything with Set keeps working.
#define QUARNEL_DEFINE_KEPT_PROPERTY(property, kept)                                       \
  HRESULT quarnelcom::put_##property(VARIANT value) { return StoreCopy(kept, value); }    \
  HRESULT quarnelcom::putref_##property(VARIANT value) { return StoreCopy(kept, value); } \
  HRESULT quarnelcom::get_##property(VARIANT* value) { return CopyStored(kept, value); }
QUARNEL_DEFINE_KEPT_PROPERTY(sa_result, result_)
QUARNEL_DEFINE_KEPT_PROPERTY(sa_parameter, parameter_)
QUARNEL_DEFINE_KEPT_PROPERTY(sa_timeout, timeout_)
QUARNEL_DEFINE_KEPT_PROPERTY(sa_hostname, hostname_)
#undef QUARNEL_DEFINE_KEPT_PROPERTY

}  // namespace quarnel

#pragma once
// The creatable class quarnelcom: four VARIANT properties, the check and
// the configuration dialog, served to late-bound callers from the DLL's own
// type library; and, outside it, IQuarnelReading: the numbers of the last
// check, for the stand-in host's report.

#include "support/windows_win32.h"
#include <oaidl.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "dialog/frmmain_win32.h"
#include "plugin/measurement.h"
#include "plugin/server/module.h"
#include "quarnel_h.h"  // generated from plugin/quarnel.idl
#include "support/unique_any_win32.h"

namespace quarnel {

class quarnelcom final : public _quarnelcom, public ISupportErrorInfo, public IQuarnelReading {
 public:
  // Creates an object and hands out its interface `iid`.
  static HRESULT Create(REFIID iid, void** object);

  quarnelcom(const quarnelcom&) = delete;
  quarnelcom& operator=(const quarnelcom&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch, answered by the type information of _quarnelcom.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* arguments, VARIANT* result, EXCEPINFO* exception,
                                   UINT* badArgument) override;

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

  // IQuarnelReading
  HRESULT STDMETHODCALLTYPE LastReading(QuarnelReading* reading) override;

  // _quarnelcom
  HRESULT STDMETHODCALLTYPE sa_docheck(VARIANT_BOOL* status) override;
  HRESULT STDMETHODCALLTYPE sa_showGUI() override;
// put, putref and get of a property that the object keeps as a VARIANT.
#define QUARNEL_DECLARE_KEPT_PROPERTY(property)                        \
  HRESULT STDMETHODCALLTYPE put_##property(VARIANT value) override;    \
  HRESULT STDMETHODCALLTYPE putref_##property(VARIANT value) override; \
  HRESULT STDMETHODCALLTYPE get_##property(VARIANT* value) override
  QUARNEL_DECLARE_KEPT_PROPERTY(sa_result);
  QUARNEL_DECLARE_KEPT_PROPERTY(sa_parameter);
  QUARNEL_DECLARE_KEPT_PROPERTY(sa_timeout);
  QUARNEL_DECLARE_KEPT_PROPERTY(sa_hostname);
#undef QUARNEL_DECLARE_KEPT_PROPERTY

 private:
  explicit quarnelcom(std::shared_ptr<const InterfaceType> type);
  ~quarnelcom();

  HRESULT StoreResultText(const std::optional<std::wstring>& text);

  std::atomic<ULONG> references_{1};
  std::shared_ptr<const InterfaceType> type_;
  // Declared before the dialog so that the dialog is released first when
  // the object goes.
  unique_variant hostname_;
  unique_variant timeout_;
  unique_variant parameter_;
  unique_variant result_;
  CheckReading lastReading_;  // of the last sa_docheck
  std::unique_ptr<FrmMain> dialog_;
};

}  // namespace quarnel

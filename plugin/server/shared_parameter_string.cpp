#include "plugin/server/shared_parameter_string.h"

#include <mutex>

#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

std::mutex sharedLock;
// Empty from the load of the DLL until a check or a confirmed dialog
// stores a parameter string.
unique_variant sharedParameterString;

}  // namespace

HRESULT StoreSharedParameterString(const VARIANT& value) {
  // The copy is made, and the old value released, outside the lock: both may
  // call into an object that the value holds.
  unique_variant copy;
  const HRESULT copied = VariantCopyInd(copy.put(), const_cast<VARIANT*>(&value));
  if (FAILED(copied)) return copied;
  std::lock_guard<std::mutex> guard(sharedLock);
  std::swap(sharedParameterString.get(), copy.get());
  return S_OK;
}

}  // namespace quarnel

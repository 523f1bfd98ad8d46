#pragma once
// The module-wide parameter string through which a check run and the
// dialog of any object in the process hand a parameter string on. Objects
// may live on several apartment threads, so every access takes a lock.

#include <windows.h>
#include <oaidl.h>

namespace quarnel {

// Replaces the shared value with a copy of `value`; on a failed copy the
// old value stays and the copy's HRESULT is returned.
HRESULT StoreSharedParameterString(const VARIANT& value);

}  // namespace quarnel

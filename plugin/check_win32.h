#pragma once
// The check as the COM object runs it: the portable check run, on this
// machine's file system, network, registry, clock and debugger output.

#include "support/windows_win32.h"
#include <oaidl.h>

#include <optional>
#include <string>

#include "plugin/measurement.h"

namespace quarnel {

struct HostCheckResult {
  VARIANT_BOOL status = VARIANT_FALSE;
  // The text for sa_result; nothing stores an Empty value.
  std::optional<std::wstring> result;
  CheckReading reading;
};

// Runs one check with the parameter string that the host stored in
// sa_parameter, whatever type the VARIANT has. Every failure of the check
// ends in the result; nothing is thrown.
HostCheckResult RunCheckForHost(const VARIANT& parameterString);

}  // namespace quarnel

#include "plugin/check_win32.h"

namespace quarnel {

HostCheckResult RunCheckForHost(const VARIANT&) {
  HostCheckResult outcome;
  outcome.result = L"ERR: the check is not available yet";
  return outcome;
}

}  // namespace quarnel

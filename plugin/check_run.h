#pragma once
// One check, from the parameter string to the status and the result text:
// what `sa_docheck` does, on whatever machine it is given.

#include <functional>
#include <string>

#include "plugin/check_machine.h"

namespace quarnel {

// Runs one check. `readParameterString` gives the current content of
// sa_parameter as text each time it is called; it may throw CheckError
// (Null, an object, an array), which ends the check in its error report like
// every other raised failure. RunCheck itself never throws CheckError.
CheckOutcome RunCheck(const std::function<std::wstring()>& readParameterString,
                      CheckMachine& machine);

}  // namespace quarnel

#pragma once
// One check, from the parameter string to the status and the result text:
// what `sa_docheck` does, on whatever machine it is given.

#include <functional>
#include <optional>
#include <string>

#include "plugin/measurement.h"

namespace quarnel {

class Automation;
class Clock;
class FileSystem;
class MachineRegistry;
class MonthNameTable;
class NetworkApi;
class TraceSink;

// Everything a check reads from or writes to the machine.
struct CheckMachine {
  TraceSink& trace;
  FileSystem& files;
  NetworkApi& network;
  MachineRegistry& registry;
  MonthNameTable& monthNames;
  Automation& automation;
  Clock& clock;
};

struct CheckOutcome {
  bool passed = false;
  // The text for sa_result; nothing means an Empty value.
  std::optional<std::wstring> result;
  // The numbers that the status and the text were made from.
  CheckReading reading;
};

// Runs one check. `readParameterString` gives the current content of
// sa_parameter as text each time it is called; it may throw CheckError
// (Null, an object, an array), which ends the check in its error report like
// every other raised failure. RunCheck itself never throws CheckError.
CheckOutcome RunCheck(const std::function<std::wstring()>& readParameterString,
                      CheckMachine& machine);

}  // namespace quarnel

#pragma once
// What a check works with and what it gives back: the machine it reads from
// and writes to, and its outcome. The check run and the evaluation both use
// them; neither header includes the other's.

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

}  // namespace quarnel

#pragma once
// Everything a whole check needs of the machine but the file system, as
// fakes: a test gives the file system (its own fake, or a layer over it) and
// runs checks through the rest.

#include <string>

#include "fake_automation.h"
#include "fake_machine.h"
#include "plugin/check_run.h"
#include "registry/month_names.h"

namespace quarnel {
namespace fake {

struct CheckMachineAround {
  CheckOutcome Check(FileSystem& files, const std::wstring& parameters) {
    CheckMachine machine{trace, files, network, registry, months, automation, clock};
    return RunCheck([&] { return parameters; }, machine);
  }

  FakeRegistry registry;
  RecordingTraceSink trace;
  RecordingNetwork network;
  MonthNameTable months;
  FakeAutomation automation;
  FixedClock clock;
};

}  // namespace fake
}  // namespace quarnel

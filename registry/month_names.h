#pragma once
// The month names that every date text uses: "Jan" to "Dec", unless the
// machine's registry overrides them month by month.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "registry/machine_registry.h"

namespace quarnel {

// The key whose values "1" to "12" override the names of those months.
inline const wchar_t kMonthNameKeyPath[] =
    L"SOFTWARE\\Orvelline\\Tarrowind\\COMCheck\\W00000006";

// Slots 0 to 12; slot m holds the name of month m, slot 0 stays empty.
// Every slot is empty until the first load.
//
// Objects on several threads load and read the module's table at once, so
// a load rewrites the table under the lock, and a read copies its slot
// under the lock: a reader sees the names of one load, never a half-written
// slot.
class MonthNameTable {
 public:
  static constexpr int kSlots = 13;

  // Refills slots 1 to 12 from the registry (text or number values),
  // falling back to the default name where a value is missing or empty.
  // Never fails.
  void Load(MachineRegistry& registry);

  // Loads the names unless the key has not changed since the last refresh
  // loaded them: the table then holds what a load would give, without
  // twelve registry reads. The key is watched from before each load, so a
  // change made during the load brings another load at the next refresh.
  void Refresh(MachineRegistry& registry);

  // The name in slot `index`; an index outside 0 to 12 throws
  // CheckError(ErrorNumber::SubscriptOutOfRange).
  std::wstring GetMonthName(std::int16_t index) const;

 private:
  void LoadLocked(MachineRegistry& registry);

  mutable std::mutex mutex_;
  std::array<std::wstring, kSlots> names_;
  std::unique_ptr<KeyWatch> watch_;  // since the last refresh that loaded
};

// The table that the whole module shares.
MonthNameTable& ModuleMonthNames();

}  // namespace quarnel

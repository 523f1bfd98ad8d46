#pragma once
// The machine's registry, through the ANSI registry functions, in the
// 32-bit registry view from a process of either bitness.

#include "support/windows_win32.h"

#include <cstdint>
#include <string>

#include "registry/machine_registry.h"

namespace quarnel {

// QueryRegistryValue's result for a value of a type other than text or number.
constexpr std::int32_t kUnsupportedValueType = -1;

class SystemRegistry : public MachineRegistry {
 public:
  // Opens the key for reading only, so that a process without write rights
  // still reads the values; a missing key is created (where rights allow)
  // and reads as nothing.
  RegistryValue ReadMachineValue(const std::wstring& keyPath,
                                 const std::wstring& valueName) override;
  // A change notification on the key (RegNotifyChangeKeyValue) into an
  // event of the watch's own.
  std::unique_ptr<KeyWatch> WatchMachineKey(const std::wstring& keyPath) override;
};

// Creates the key under the root, in the 32-bit view, without values, and
// closes it again.
// Failures are ignored.
void CreateMachineKey(const std::wstring& keyPath, HKEY root);

// Reads a text (REG_SZ, as stored: normally with its terminating NUL) or a
// number (REG_DWORD) into `value`. Returns the system's code of the last
// query, or kUnsupportedValueType for another type, which leaves `value`
// as it was.
std::int32_t QueryRegistryValue(HKEY key, const std::wstring& valueName, RegistryValue& value);

}  // namespace quarnel

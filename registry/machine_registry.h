#pragma once
// Machine-wide values under HKEY_LOCAL_MACHINE, as the month-name table
// reads them. registry_win32.cpp reads the real registry; native tests use
// a fake.

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace quarnel {

// Nothing (no key, no value, no access, a type other than text or number),
// a text as read (normally still ending in its terminating NUL), or a
// 32-bit number.
using RegistryValue = std::variant<std::monostate, std::wstring, std::int32_t>;

// Tells whether a key may have changed since the watch began.
class KeyWatch {
 public:
  virtual ~KeyWatch() = default;
  // True once a value of the key was set or deleted, or the key itself was
  // deleted, after the watch began; stays true from then on.
  virtual bool Changed() = 0;
};

class MachineRegistry {
 public:
  virtual ~MachineRegistry() = default;
  // Reads one value of a key under HKEY_LOCAL_MACHINE; creates the key,
  // empty, when it is missing. Never fails: every failure reads as nothing.
  virtual RegistryValue ReadMachineValue(const std::wstring& keyPath,
                                         const std::wstring& valueName) = 0;
  // Starts watching a key under HKEY_LOCAL_MACHINE, creating it, empty,
  // when it is missing. Nothing when the key cannot be watched.
  virtual std::unique_ptr<KeyWatch> WatchMachineKey(const std::wstring& keyPath) = 0;
};

// The text without its last character when that is a NUL; at most one is
// removed.
std::wstring StripTrailingNul(const std::wstring& text);

}  // namespace quarnel

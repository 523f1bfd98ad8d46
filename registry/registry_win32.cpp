#include "registry/registry_win32.h"

#include <algorithm>

#include "support/codepage.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

std::int32_t QueryText(HKEY key, const std::string& name, DWORD size, RegistryValue& value) {
  std::string buffer(size, '\0');
  const LONG code = RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(buffer.data()), &size);
  if (code == ERROR_SUCCESS) {
    buffer.resize(std::min<std::size_t>(size, buffer.size()));
    value = FromAnsi(buffer);
  } else {
    value = std::monostate();
  }
  return code;
}

std::int32_t QueryNumber(HKEY key, const std::string& name, RegistryValue& value) {
  std::int32_t number = 0;
  DWORD size = sizeof(number);
  const LONG code = RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(&number), &size);
  if (code == ERROR_SUCCESS) value = number;
  return code;
}

}  // namespace

void CreateMachineKey(const std::wstring& keyPath, HKEY root) {
  unique_hkey key;
  RegCreateKeyExA(root, ToAnsi(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ,
                  nullptr, key.put(), nullptr);
}

std::int32_t QueryRegistryValue(HKEY key, const std::wstring& valueName, RegistryValue& value) {
  const std::string name = ToAnsi(valueName);
  DWORD type = REG_NONE;
  DWORD size = 0;
  const LONG code = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
  if (code != ERROR_SUCCESS) return code;
  switch (type) {
    case REG_SZ: return QueryText(key, name, size, value);
    case REG_DWORD: return QueryNumber(key, name, value);
    default: return kUnsupportedValueType;
  }
}

RegistryValue SystemRegistry::ReadMachineValue(const std::wstring& keyPath,
                                               const std::wstring& valueName) {
  RegistryValue value;
  unique_hkey key;
  const LONG opened =
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, ToAnsi(keyPath).c_str(), 0, KEY_READ, key.put());
  if (opened == ERROR_FILE_NOT_FOUND) {
    // Created so that administrators find where the names go; the new key
    // has no values yet, so there is nothing to read from it.
    CreateMachineKey(keyPath, HKEY_LOCAL_MACHINE);
    return value;
  }
  if (opened == ERROR_SUCCESS) QueryRegistryValue(key.get(), valueName, value);
  return value;
}

}  // namespace quarnel

#include "registry/registry_win32.h"

#include <algorithm>

#include "support/codepage.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

// The plug-in's keys live in the 32-bit registry view, where the 32-bit
// plug-in and its 32-bit host have always kept them (on 64-bit Windows
// under SOFTWARE\Wow6432Node): the 64-bit build reads and creates the same
// key. A 32-bit process on 32-bit Windows ignores the flag.
constexpr REGSAM kPluginView = KEY_WOW64_32KEY;

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

// The event is set when a value of the key is set or deleted, or when a
// subkey of its parent is made or deleted: the key's own deletion shows
// there on every system, while some tell nothing on the deleted key itself.
// Whatever ends a notification early (on older systems, the end of the
// thread that asked for it) sets the event too, which only costs a reload.
class RegistryKeyWatch : public KeyWatch {
 public:
  RegistryKeyWatch(unique_hkey key, unique_hkey parent, unique_handle changed)
      : key_(std::move(key)), parent_(std::move(parent)), changed_(std::move(changed)) {}
  bool Changed() override { return WaitForSingleObject(changed_.get(), 0) != WAIT_TIMEOUT; }

 private:
  unique_hkey key_;
  unique_hkey parent_;
  unique_handle changed_;
};

bool NotifyChange(HKEY key, DWORD changes, HANDLE changed) {
  // Windows 8 and later keep the notification when the asking thread ends.
  constexpr DWORD kThreadAgnostic = 0x10000000;
  return RegNotifyChangeKeyValue(key, FALSE, changes | kThreadAgnostic, changed, TRUE) ==
             ERROR_SUCCESS ||
         RegNotifyChangeKeyValue(key, FALSE, changes, changed, TRUE) == ERROR_SUCCESS;
}

unique_hkey OpenToWatch(const std::string& path) {
  unique_hkey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_NOTIFY | kPluginView, key.put()) !=
      ERROR_SUCCESS)
    key.reset();
  return key;
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
  RegCreateKeyExA(root, ToAnsi(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                  KEY_READ | kPluginView, nullptr, key.put(), nullptr);
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
  const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, ToAnsi(keyPath).c_str(), 0,
                                    KEY_READ | kPluginView, key.put());
  if (opened == ERROR_FILE_NOT_FOUND) {
    // Created so that administrators find where the names go; the new key
    // has no values yet, so there is nothing to read from it.
    CreateMachineKey(keyPath, HKEY_LOCAL_MACHINE);
    return value;
  }
  if (opened == ERROR_SUCCESS) QueryRegistryValue(key.get(), valueName, value);
  return value;
}

std::unique_ptr<KeyWatch> SystemRegistry::WatchMachineKey(const std::wstring& keyPath) {
  const std::string path = ToAnsi(keyPath);
  unique_hkey key = OpenToWatch(path);
  if (!key) {
    CreateMachineKey(keyPath, HKEY_LOCAL_MACHINE);
    key = OpenToWatch(path);
  }
  const auto lastSeparator = path.rfind('\\');
  if (!key || lastSeparator == std::string::npos) return nullptr;
  unique_hkey parent = OpenToWatch(path.substr(0, lastSeparator));
  unique_handle changed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!parent || !changed ||
      !NotifyChange(key.get(), REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, changed.get()) ||
      !NotifyChange(parent.get(), REG_NOTIFY_CHANGE_NAME, changed.get())) {
    return nullptr;
  }
  return std::make_unique<RegistryKeyWatch>(std::move(key), std::move(parent), std::move(changed));
}

}  // namespace quarnel

#pragma once
// Where the build puts the programs that the tests drive, found from the
// running test program: tests\*.exe, host\quarnel-host.exe and
// plugin\comquarnel.dll are siblings in the build tree.

#include <windows.h>

#include <string>

namespace quarnel {

// The directory of the running test program, with its trailing "\".
inline std::wstring ProgramDirectory() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory(path, length);
  return directory.substr(0, directory.find_last_of(L'\\') + 1);
}

inline std::wstring HostPath() { return ProgramDirectory() + L"..\\host\\quarnel-host.exe"; }

inline std::wstring PluginDllPath() { return ProgramDirectory() + L"..\\plugin\\comquarnel.dll"; }

}  // namespace quarnel

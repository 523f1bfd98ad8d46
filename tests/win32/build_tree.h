#pragma once
// Where the build puts the programs that the tests drive, found from the
// running test program: tests\*.exe, host\quarnel-host.exe and
// plugin\comquarnel.dll are siblings in the build tree.

#include "support/windows_win32.h"

#include <string>

#include "support/module_win32.h"

namespace quarnel {

// The directory of the running test program, with its trailing "\".
inline std::wstring ProgramDirectory() {
  const std::wstring program = ModuleFilePath(nullptr);
  return program.substr(0, program.find_last_of(L'\\') + 1);
}

inline std::wstring HostPath() { return ProgramDirectory() + L"..\\host\\quarnel-host.exe"; }

inline std::wstring PluginDllPath() { return ProgramDirectory() + L"..\\plugin\\comquarnel.dll"; }

}  // namespace quarnel

#pragma once
// A module's own file.

#include "support/windows_win32.h"

#include <string>

namespace quarnel {

// The full path of a loaded module's file (null: the program's), however
// long; empty when the system cannot tell.
std::wstring ModuleFilePath(HMODULE module);

}  // namespace quarnel

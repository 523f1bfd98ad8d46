#pragma once
// What this process and its system tell about the Windows folder.

#include "fileaccess/native_folders.h"

namespace quarnel {

// The process's bitness, IsWow64Process and GetSystemWindowsDirectoryW,
// asked once per process.
const SystemFolderFacts& ThisProcessFolderFacts();

}  // namespace quarnel

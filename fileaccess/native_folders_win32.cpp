#include "fileaccess/native_folders_win32.h"

#include "support/windows_win32.h"

#include "support/system_text_win32.h"
#include "support/text.h"

namespace quarnel {

const SystemFolderFacts& ThisProcessFolderFacts() {
  static const SystemFolderFacts facts = [] {
    SystemFolderFacts asked;
    asked.process64 = sizeof(void*) == 8;
    BOOL wow64 = FALSE;
    asked.wow64 = IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
    // The system's own folder, not a user's one under Terminal Services.
    asked.windowsDirectory = SystemText([](wchar_t* buffer, DWORD size) {
                               return GetSystemWindowsDirectoryW(buffer, size);
                             }).value_or(std::wstring());
    if (EndsWith(asked.windowsDirectory, L"\\")) asked.windowsDirectory.pop_back();
    return asked;
  }();
  return facts;
}

}  // namespace quarnel

#pragma once
// One folder per path, in a process of either bitness. On 64-bit Windows the
// system redirects what a 32-bit process asks for in %windir%\System32 to
// %windir%\SysWOW64 (but for a few subfolders) and gives it the alias
// %windir%\Sysnative for the real System32, which a 64-bit process does not
// have. An administrator writes the folder that Explorer shows, so every
// file call measures:
// - %windir%\System32\... and %windir%\Sysnative\... in the native System32,
// - %windir%\SysWOW64\... in SysWOW64,
// whichever build runs. A 32-bit process reaches the native System32
// through the alias: the path is rewritten to it before the call, and
// nothing about the calling thread changes (turning the redirector off
// around a call would also turn it off for every library that the call
// loads on that thread). On 32-bit Windows every path goes as written.

#include <optional>
#include <string>

#include "fileaccess/file_system.h"
#include "fileaccess/long_paths.h"

namespace quarnel {

// What the system tells about the process and its Windows folder.
struct SystemFolderFacts {
  bool process64 = false;         // a 64-bit process
  bool wow64 = false;             // a 32-bit process on 64-bit Windows (IsWow64Process)
  std::wstring windowsDirectory;  // GetSystemWindowsDirectoryW, "C:\Windows"
};

// The path to hand to the system instead of `given`, or nothing when it goes
// as written. Paths are matched without regard to case, the Windows folder
// as the system names it; a path written in the extended form ("\\?\C:\...")
// is matched as written, any other one by its full path (`fullPaths`), with
// its last name kept as written, so that a pattern means what it did.
std::optional<std::wstring> NativeFolderPath(const std::wstring& given,
                                             const SystemFolderFacts& facts,
                                             FullPathResolver& fullPaths);

// Every path and pattern as NativeFolderPath gives it; a folder whose
// identity is asked for is matched whole, its last name included.
class NativeFolderFileSystem : public PathLayerFileSystem {
 public:
  NativeFolderFileSystem(FileSystem& system, FullPathResolver& fullPaths, SystemFolderFacts facts)
      : PathLayerFileSystem(system), fullPaths_(fullPaths), facts_(std::move(facts)) {}

 private:
  SystemPath PathFor(const std::wstring& given) override;
  SystemPath FolderPathFor(const std::wstring& folder) override;

  FullPathResolver& fullPaths_;
  const SystemFolderFacts facts_;
};

}  // namespace quarnel

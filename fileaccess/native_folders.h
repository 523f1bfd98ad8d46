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

// A file system that hands every path and pattern to another one as
// NativeFolderPath gives it.
class NativeFolderFileSystem : public FileSystem {
 public:
  NativeFolderFileSystem(FileSystem& system, FullPathResolver& fullPaths, SystemFolderFacts facts)
      : system_(system), fullPaths_(fullPaths), facts_(std::move(facts)) {}

  FindResult FindFirst(const std::wstring& path) override;
  std::uint32_t List(const std::wstring& pattern,
                     const std::function<bool(const FindRecord&)>& visit) override;
  std::wstring RawSystemMessage(std::uint32_t code) override;
  CalendarFields LocalCalendarFields(std::uint64_t fileTime) override;
  IdentityResult IdentityOf(const std::wstring& folder) override;

 private:
  std::wstring PathFor(const std::wstring& given);

  FileSystem& system_;
  FullPathResolver& fullPaths_;
  const SystemFolderFacts facts_;
};

}  // namespace quarnel

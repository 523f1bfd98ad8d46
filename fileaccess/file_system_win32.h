#pragma once
// The machine's own file system, through the wide-character file search.

#include "fileaccess/file_system.h"
#include "fileaccess/long_paths.h"

namespace quarnel {

// Names are searched and reported as UTF-16, so a character outside the
// ANSI code page is found as itself (the ANSI search turned it into "?",
// which then matched any character). A path with a NUL inside is no valid
// name: the system would read it only up to the NUL and find another file.
class SystemFileSystem : public FileSystem {
 public:
  FindResult FindFirst(const std::wstring& path) override;
  std::uint32_t List(const std::wstring& pattern,
                     const std::function<bool(const FindRecord&)>& visit) override;
  IdentityResult IdentityOf(const std::wstring& folder) override;
  std::wstring RawSystemMessage(std::uint32_t code) override;
  CalendarFields LocalCalendarFields(std::uint64_t fileTime) override;
};

// GetFullPathNameW, of any length.
class SystemFullPaths : public FullPathResolver {
 public:
  std::optional<std::wstring> FullPathOf(const std::wstring& path) override;
};

}  // namespace quarnel

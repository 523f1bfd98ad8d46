#pragma once
// The machine's own file system, through the wide-character file search.

#include "fileaccess/file_system.h"

namespace quarnel {

// The system's error code for a path that is no valid name
// (ERROR_INVALID_NAME).
constexpr std::uint32_t kErrorInvalidName = 123;

// Names are searched and reported as UTF-16, so a character outside the
// ANSI code page is found as itself (the ANSI search turned it into "?",
// which then matched any character). A path with a NUL inside is no valid
// name: the system would read it only up to the NUL and find another file.
class SystemFileSystem : public FileSystem {
 public:
  FindResult FindFirst(const std::wstring& path) override;
  std::uint32_t List(const std::wstring& pattern,
                     const std::function<bool(const FindRecord&)>& visit) override;
  std::wstring RawSystemMessage(std::uint32_t code) override;
  CalendarFields LocalCalendarFields(std::uint64_t fileTime) override;
};

}  // namespace quarnel

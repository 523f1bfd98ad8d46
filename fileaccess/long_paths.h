#pragma once
// The form in which a path reaches the system's file search. A process that
// is not long-path aware (the monitoring host is not, and a DLL cannot make
// it so) gets "path not found" for any path of MAX_PATH (260) characters or
// more, which would read as "nothing there". Such a path is passed in its
// extended-length form, "\\?\" + the full path (or "\\?\UNC\server\share\..."),
// which the system takes up to 32,767 characters; a shorter path is passed
// exactly as written. Paths that the system cannot look at in either form
// are refused with a code that never means "nothing found".

#include <cstdint>
#include <optional>
#include <string>

#include "fileaccess/file_system.h"

namespace quarnel {

// The system's codes for the refusals (ERROR_BAD_PATHNAME,
// ERROR_FILENAME_EXCED_RANGE; ERROR_INVALID_NAME is kErrorInvalidName).
constexpr std::uint32_t kErrorBadPathname = 161;
constexpr std::uint32_t kErrorFilenameTooLong = 206;

// The longest full path that the system takes without the extended form
// (MAX_PATH less its closing NUL), the longest extended-length path, and the
// longest name that NTFS and SMB shares allow for one path component.
constexpr std::size_t kLongestShortPath = 259;
constexpr std::size_t kLongestExtendedPath = 32767;
constexpr std::size_t kLongestName = 255;

// GetFullPathNameW: the full path that the system makes of a path (the
// current directory or a drive's for a relative one, ".", ".." and "/"
// resolved), of any length; nothing when the system cannot make one.
class FullPathResolver {
 public:
  virtual ~FullPathResolver() = default;
  virtual std::optional<std::wstring> FullPathOf(const std::wstring& path) = 0;
};

// The path to hand to the system, or the code of the failure that the
// search would end in without looking.
struct SystemPath {
  std::wstring path;
  std::uint32_t refusal = 0;
};

// The form in which `given` reaches the system:
// - a path written with "\\?\" goes as written;
// - a path whose full path (or which itself) has 260 characters or more
//   goes as "\\?\" + full path, "\\?\UNC\" + server\share\... for UNC;
// - every other path goes as written.
// Refused: a control character (NUL included) or "|" inside, a long path
// that the system cannot make full, or a component over 255 characters
// (kErrorInvalidName); a device path "\\.\",
// a UNC path without server or share, or "\\?\" with nothing after it
// (kErrorBadPathname); more than 32,767 characters (kErrorFilenameTooLong).
SystemPath SystemPathFor(const std::wstring& given, FullPathResolver& fullPaths);

// A file system that hands every call on to another one, each path and
// pattern in the form that the layer gives it; a refused path fails its
// search with the refusal's code, as the system's search would. The folder
// whose identity is asked for goes the same way unless the layer says
// otherwise.
class PathLayerFileSystem : public FileSystem {
 public:
  explicit PathLayerFileSystem(FileSystem& system) : system_(system) {}

  FindResult FindFirst(const std::wstring& path) final;
  std::uint32_t List(const std::wstring& pattern,
                     const std::function<bool(const FindRecord&)>& visit) final;
  IdentityResult IdentityOf(const std::wstring& folder) final;
  std::wstring RawSystemMessage(std::uint32_t code) final;
  CalendarFields LocalCalendarFields(std::uint64_t fileTime) final;

 protected:
  virtual SystemPath PathFor(const std::wstring& given) = 0;
  virtual SystemPath FolderPathFor(const std::wstring& folder) { return PathFor(folder); }

 private:
  FileSystem& system_;
};

// Every path and pattern in the form SystemPathFor gives.
class LongPathFileSystem : public PathLayerFileSystem {
 public:
  LongPathFileSystem(FileSystem& system, FullPathResolver& fullPaths)
      : PathLayerFileSystem(system), fullPaths_(fullPaths) {}

 private:
  SystemPath PathFor(const std::wstring& given) override { return SystemPathFor(given, fullPaths_); }

  FullPathResolver& fullPaths_;
};

}  // namespace quarnel

#pragma once
// The file system as the plug-in sees it: one find record for a path or
// pattern, a directory listing, the system's messages and the conversion of
// file times to local calendar fields. file_system_win32.cpp implements it
// with the wide-character file search; native tests use a fake.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "fileaccess/system_messages.h"
#include "support/ole_date.h"

namespace quarnel {

// What the system's file search tells about one directory entry
// (WIN32_FIND_DATAW). File times are FILETIME values in UTC, 100 ns ticks
// since 1 January 1601.
struct FindRecord {
  std::uint32_t attributes = 0;
  std::uint64_t creationTime = 0;
  std::uint64_t lastWriteTime = 0;
  std::uint32_t sizeHigh = 0;
  std::uint32_t sizeLow = 0;
  std::wstring name;  // bare name, without the directory
};

// File attribute bits that the listing looks at.
constexpr std::uint32_t kAttributeHidden = 0x2;
constexpr std::uint32_t kAttributeSystem = 0x4;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeReparsePoint = 0x400;

// The result of searching one path: the first record found, or the system's
// last-error code right after the search failed.
struct FindResult {
  bool found = false;
  FindRecord record;
  std::uint32_t errorCode = 0;
};

// What makes a folder the same folder whatever path reaches it: the serial
// number of its volume and its file index there.
struct FolderIdentity {
  std::uint32_t volume = 0;
  std::uint64_t index = 0;
  bool operator<(const FolderIdentity& other) const {
    return volume != other.volume ? volume < other.volume : index < other.index;
  }
};

// A folder's identity, or the system's last-error code when it could not be
// opened or asked.
struct IdentityResult {
  std::optional<FolderIdentity> identity;
  std::uint32_t errorCode = 0;
};

// The code of a search that no name matched (ERROR_FILE_NOT_FOUND).
constexpr std::uint32_t kErrorFileNotFound = 2;
// The code with which a listing runs out of entries (ERROR_NO_MORE_FILES).
constexpr std::uint32_t kErrorNoMoreFiles = 18;
// The code for a path that is no valid name (ERROR_INVALID_NAME).
constexpr std::uint32_t kErrorInvalidName = 123;

// The file search, which also gives the system's messages for the codes
// with which its searches fail.
class FileSystem : public SystemMessages {
 public:
  // Searches the path or pattern exactly as given and returns the first
  // entry; the search is closed again before the call returns. A path with
  // a NUL inside is no valid name (error 123): the system would read it only
  // up to the NUL and so find a different entry.
  virtual FindResult FindFirst(const std::wstring& path) = 0;

  // Lists every entry that the pattern matches, in the order of the file
  // system's search, until `visit` returns false. Every entry is passed,
  // directories and "." / ".." included; the caller decides what counts.
  // Returns the code that ended the listing: 0 when `visit` stopped it, the
  // system's last-error code when the first search failed (nothing was
  // visited) or when a next step failed; a listing that ran to its end
  // gives kErrorNoMoreFiles.
  virtual std::uint32_t List(const std::wstring& pattern,
                             const std::function<bool(const FindRecord&)>& visit) = 0;

  // The identity of the folder that the path names (CreateFileW with backup
  // semantics, then GetFileInformationByHandle).
  virtual IdentityResult IdentityOf(const std::wstring& folder) = 0;

  // FileTimeToLocalFileTime then FileTimeToSystemTime. A failed first step
  // converts the zero file time; a failed second step leaves zero fields.
  virtual CalendarFields LocalCalendarFields(std::uint64_t fileTime) = 0;
};

}  // namespace quarnel

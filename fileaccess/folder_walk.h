#pragma once
// A walk over a folder and, when asked, every folder below it: the entries
// that the pattern matches in each folder, folder after folder, without
// recursion (any depth), and each real folder once.
//
// - The pattern applies to the names in each folder, as a search of
//   folder + pattern matches them.
// - Junctions and directory symbolic links (reparse points) are not
//   followed; neither are folders marked hidden or system, whose files the
//   listing kinds leave out too.
// - A folder is entered only the first time its identity (volume serial
//   number and file index) is seen, so that a link the system does not
//   show as one (a Unix symbolic link under Wine) cannot make a loop.
// - A folder below the first that cannot be listed (access denied, gone
//   during the walk, a path too long) ends the walk as failed, naming it.
//   Only the first folder may be missing: that is nothing found.
// - Paths of any length reach the system through the file system it is
//   given (LongPathFileSystem puts them into the extended form).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "fileaccess/file_system.h"
#include "support/debug_trace.h"

namespace quarnel {

// Whether an entry is a folder that the walk enters: a directory, not a
// reparse point, not hidden or system, and not "." or "..".
bool IsFolderToEnter(const FindRecord& record);

// How a walk ended.
struct WalkEnd {
  // The first folder was there (and so a count of 0 is a measurement).
  bool rootFound = false;
  // The walk's visitor stopped it.
  bool stopped = false;
  // Set when a folder could not be looked at: the error text, which names
  // the folder, and the system's code.
  std::optional<std::wstring> failure;
  std::uint32_t errorCode = 0;
  // The system's answer to the first folder's search: the code of its
  // pattern's listing, or of the folder not being there.
  std::uint32_t rootSearchCode = 0;
};

// The walk's visitor: the folder the entry is in (its path up to and
// including the last "\", as the walk reached it) and the entry. Every
// entry that the pattern matches is passed, directories and "." / ".."
// included; returning false stops the walk.
using FolderEntryVisit = std::function<bool(const std::wstring& folder, const FindRecord& entry)>;

// Walks from `folder` (empty for the current folder, else ending in "\"),
// with its subfolders when `subfolders` is set. Writes the trace line
// "FOLDER: " + folder for each folder it enters, "FOLDER SEEN: " + folder
// for one it reaches again under another path, and "LINK NOT FOLLOWED: " +
// folder for a reparse point.
WalkEnd WalkFolders(FileSystem& files, TraceSink& trace, const std::wstring& folder,
                    const std::wstring& pattern, bool subfolders, const FolderEntryVisit& visit);

// The error text of a folder that could not be looked at:
// "ERR:" + folder + " could not be listed: " + the system's message + " (code)".
std::wstring FolderFailureText(FileSystem& files, const std::wstring& folder, std::uint32_t code);

}  // namespace quarnel

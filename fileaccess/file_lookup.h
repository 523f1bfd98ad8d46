#pragma once
// The size of the directory entry that a path names, and the system's
// one-line message for an error code.

#include <cstdint>
#include <string>

#include "fileaccess/file_system.h"

namespace quarnel {

// The size that the search reports in two unsigned halves, as a number of
// bytes. Sizes pass through a fixed-point amount (a signed 64-bit count of
// 1/10000 units); a size beyond its range, 922,337,203,685,477 bytes,
// throws CheckError(ErrorNumber::Overflow).
double SizeFromHalves(std::uint32_t high, std::uint32_t low);

// The size of an entry that a search or listing has already found.
double FileLengthOf(const FindRecord& record);

// Searches the path (or pattern: the first entry found is measured) exactly
// as given and returns its size with an empty errorText; when the search
// fails, returns -1 with the system's message for the failure in errorText.
double GetFileLength(FileSystem& files, const std::wstring& path, std::wstring& errorText);

// Whether a failed search's code means that nothing is there to find: file
// not found (2), path not found (3), no more files (18). Every other code
// means that the search could not look (access denied, an unreachable or
// invalid path, a device not ready, ...).
bool MeansNothingFound(std::uint32_t errorCode);

// The system's message for an error code as one line: spaces trimmed, one
// final CR LF removed; the empty text when the system has no message.
std::wstring GetSystemErrorText(FileSystem& files, std::int32_t code);

}  // namespace quarnel

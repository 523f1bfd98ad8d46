#include "fileaccess/long_paths.h"

#include "support/text.h"

namespace quarnel {
namespace {

const std::wstring kExtendedPrefix = L"\\\\?\\";
const std::wstring kExtendedUncPrefix = L"\\\\?\\UNC\\";
const std::wstring kDevicePrefix = L"\\\\.\\";
const std::wstring kUncPrefix = L"\\\\";

SystemPath Refused(std::uint32_t code) { return SystemPath{std::wstring(), code}; }

// Windows refuses a name with a control character or "|" as invalid, while
// Wine may look for it and find nothing, which would read as "nothing
// there". The system would read a path only up to a NUL, and so look
// elsewhere. "*", "?" and the DOS wildcards "<", ">" and '"' are patterns.
bool HasCharacterNoNameHolds(const std::wstring& path) {
  for (const wchar_t c : path)
    if (c < L' ' || c == L'|') return true;
  return false;
}

// Whether any "\"-separated name of the path is longer than a file system
// allows.
bool HasOverlongName(const std::wstring& path) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = path.find(L'\\', start);
    const std::size_t length = (end == std::wstring::npos ? path.size() : end) - start;
    if (length > kLongestName) return true;
    if (end == std::wstring::npos) return false;
    start = end + 1;
  }
}

// Whether "server\share[\...]" names a server and one of its shares:
// neither empty, neither a pattern (the file search lists no shares).
bool NamesAShare(const std::wstring& rest) {
  const std::size_t serverEnd = rest.find(L'\\');
  if (serverEnd == 0 || serverEnd == std::wstring::npos) return false;
  const std::size_t shareEnd = rest.find(L'\\', serverEnd + 1);
  const std::wstring server = rest.substr(0, serverEnd);
  const std::wstring share = rest.substr(serverEnd + 1, shareEnd - serverEnd - 1);
  return !share.empty() && !HasWildcard(server) && !HasWildcard(share);
}

// A path that the administrator wrote in the extended form goes as written,
// once it names something to look at.
SystemPath WrittenExtended(const std::wstring& given) {
  const std::wstring rest = given.substr(kExtendedPrefix.size());
  if (StartsWith(given, kExtendedUncPrefix)) {
    if (!NamesAShare(given.substr(kExtendedUncPrefix.size()))) return Refused(kErrorBadPathname);
  } else if (rest.empty() || rest[0] == L'\\') {
    return Refused(kErrorBadPathname);
  }
  if (HasOverlongName(rest)) return Refused(kErrorInvalidName);
  return SystemPath{given, 0};
}

}  // namespace

SystemPath SystemPathFor(const std::wstring& given, FullPathResolver& fullPaths) {
  if (HasCharacterNoNameHolds(given)) return Refused(kErrorInvalidName);
  if (given.size() > kLongestExtendedPath) return Refused(kErrorFilenameTooLong);
  if (StartsWith(given, kExtendedPrefix)) return WrittenExtended(given);

  const std::optional<std::wstring> full = fullPaths.FullPathOf(given);
  // A short path that the system cannot make full (the empty path, say)
  // still goes as written: its search fails as it always did.
  if (!full) {
    return given.size() <= kLongestShortPath ? SystemPath{given, 0} : Refused(kErrorInvalidName);
  }
  // Devices, pipes and "//?/" paths are no files to measure.
  if (StartsWith(*full, kDevicePrefix) || StartsWith(*full, kExtendedPrefix)) {
    return Refused(kErrorBadPathname);
  }
  const bool unc = StartsWith(*full, kUncPrefix);
  const std::wstring rooted = unc ? full->substr(kUncPrefix.size()) : *full;
  if (unc && !NamesAShare(rooted)) return Refused(kErrorBadPathname);
  if (HasOverlongName(rooted)) return Refused(kErrorInvalidName);

  if (given.size() <= kLongestShortPath && full->size() <= kLongestShortPath) {
    return SystemPath{given, 0};
  }
  std::wstring extended = (unc ? kExtendedUncPrefix : kExtendedPrefix) + rooted;
  if (extended.size() > kLongestExtendedPath) return Refused(kErrorFilenameTooLong);
  return SystemPath{std::move(extended), 0};
}

FindResult PathLayerFileSystem::FindFirst(const std::wstring& path) {
  const SystemPath systemPath = PathFor(path);
  if (systemPath.refusal == 0) return system_.FindFirst(systemPath.path);
  FindResult refused;
  refused.errorCode = systemPath.refusal;
  return refused;
}

std::uint32_t PathLayerFileSystem::List(const std::wstring& pattern,
                                        const std::function<bool(const FindRecord&)>& visit) {
  const SystemPath systemPath = PathFor(pattern);
  if (systemPath.refusal != 0) return systemPath.refusal;
  return system_.List(systemPath.path, visit);
}

IdentityResult PathLayerFileSystem::IdentityOf(const std::wstring& folder) {
  const SystemPath systemPath = FolderPathFor(folder);
  if (systemPath.refusal == 0) return system_.IdentityOf(systemPath.path);
  IdentityResult refused;
  refused.errorCode = systemPath.refusal;
  return refused;
}

std::wstring PathLayerFileSystem::RawSystemMessage(std::uint32_t code) {
  return system_.RawSystemMessage(code);
}

CalendarFields PathLayerFileSystem::LocalCalendarFields(std::uint64_t fileTime) {
  return system_.LocalCalendarFields(fileTime);
}

}  // namespace quarnel

#include "fileaccess/native_folders.h"

#include <algorithm>
#include <string_view>

#include "support/text.h"

namespace quarnel {
namespace {

const std::wstring kExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view kSystem32 = L"System32";
constexpr std::wstring_view kSysnative = L"Sysnative";

// The subfolders of System32 that the system never redirects: a 32-bit
// process reaches them as written.
constexpr std::wstring_view kExemptSubfolders[] = {L"catroot",      L"catroot2", L"driverstore",
                                                   L"drivers\\etc", L"logfiles", L"spool"};

// The names matched here are ASCII; the file system compares them without
// regard to case.
wchar_t FoldedAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c; }

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldedAscii(a[i]) != FoldedAscii(b[i])) return false;
  return true;
}

// Whether `path` is `folder` or lies inside it.
bool IsWithin(std::wstring_view path, std::wstring_view folder) {
  return path.size() >= folder.size() && SameIgnoringCase(path.substr(0, folder.size()), folder) &&
         (path.size() == folder.size() || path[folder.size()] == L'\\');
}

bool IsExempt(std::wstring_view belowSystem32) {
  for (std::wstring_view exempt : kExemptSubfolders)
    if (IsWithin(belowSystem32, exempt)) return true;
  return false;
}

// The directory through which this process reaches what `directory` names:
// in a 32-bit process on 64-bit Windows System32 becomes the alias
// Sysnative (but for the exempt subfolders), in a 64-bit process the alias
// becomes System32; nothing when the directory goes as it is.
std::optional<std::wstring> NativeDirectory(const std::wstring& directory,
                                            const SystemFolderFacts& facts) {
  const std::wstring& windows = facts.windowsDirectory;
  if (directory.size() <= windows.size() || !IsWithin(directory, windows)) return std::nullopt;
  const std::size_t start = windows.size() + 1;
  const std::size_t end = std::min(directory.find(L'\\', start), directory.size());
  const std::wstring_view folder = std::wstring_view(directory).substr(start, end - start);
  const std::wstring_view below =
      end == directory.size() ? std::wstring_view() : std::wstring_view(directory).substr(end + 1);
  std::wstring_view native;
  if (facts.wow64 && SameIgnoringCase(folder, kSystem32) && !IsExempt(below)) native = kSysnative;
  if (facts.process64 && SameIgnoringCase(folder, kSysnative)) native = kSystem32;
  if (native.empty()) return std::nullopt;
  return directory.substr(0, start) + std::wstring(native) + directory.substr(end);
}

// The last name of a path as written ("/" separates too, and "D:" ends a
// drive-relative path's drive).
std::wstring WrittenLastName(const std::wstring& given) {
  const std::size_t separator = given.find_last_of(L"\\/");
  if (separator != std::wstring::npos) return given.substr(separator + 1);
  return given.size() >= 2 && given[1] == L':' ? given.substr(2) : given;
}

}  // namespace

std::optional<std::wstring> NativeFolderPath(const std::wstring& given,
                                             const SystemFolderFacts& facts,
                                             FullPathResolver& fullPaths) {
  // On 32-bit Windows nothing is redirected; a path with a NUL is refused
  // as written.
  if (!facts.process64 && !facts.wow64) return std::nullopt;
  if (facts.windowsDirectory.empty() || Contains(given, L'\0')) return std::nullopt;
  std::wstring prefix, full;
  if (StartsWith(given, kExtendedPrefix)) {
    prefix = kExtendedPrefix;
    full = given.substr(prefix.size());
  } else {
    std::optional<std::wstring> resolved = fullPaths.FullPathOf(given);
    if (!resolved) return std::nullopt;
    full = std::move(*resolved);
  }
  const std::size_t lastSeparator = full.rfind(L'\\');
  if (lastSeparator == std::wstring::npos) return std::nullopt;
  const std::wstring directory = full.substr(0, lastSeparator);
  std::wstring name = full.substr(lastSeparator + 1);
  // The full path drops trailing dots and spaces of the last name, which
  // a pattern ("*.") may need; "." and ".." are resolved in the full path.
  if (prefix.empty()) {
    std::wstring written = WrittenLastName(given);
    if (written != L"." && written != L"..") name = std::move(written);
  }
  if (std::optional<std::wstring> native = NativeDirectory(directory, facts)) {
    return prefix + *native + L"\\" + name;
  }
  // The alias itself: the entry of the native System32 in the Windows folder.
  if (SameIgnoringCase(directory, facts.windowsDirectory) && SameIgnoringCase(name, kSysnative)) {
    return prefix + directory + L"\\" + std::wstring(kSystem32);
  }
  return std::nullopt;
}

SystemPath NativeFolderFileSystem::PathFor(const std::wstring& given) {
  std::optional<std::wstring> native = NativeFolderPath(given, facts_, fullPaths_);
  return {native ? std::move(*native) : given, 0};
}

// The walk asks for the identity of System32 itself, which must be the
// folder that its listing reads, or SysWOW64 would later count as seen.
SystemPath NativeFolderFileSystem::FolderPathFor(const std::wstring& folder) {
  const std::wstring anyEntry = L"\\*";
  std::optional<std::wstring> native = NativeFolderPath(folder + anyEntry, facts_, fullPaths_);
  if (!native) return {folder, 0};
  native->resize(native->size() - anyEntry.size());
  return {std::move(*native), 0};
}

}  // namespace quarnel

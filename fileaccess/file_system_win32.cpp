#include "fileaccess/file_system_win32.h"

#include "support/windows_win32.h"

#include "support/codepage.h"
#include "support/system_text_win32.h"
#include "support/unique_any_win32.h"

namespace quarnel {

static_assert(kAttributeHidden == FILE_ATTRIBUTE_HIDDEN && kAttributeSystem == FILE_ATTRIBUTE_SYSTEM &&
                  kAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY &&
                  kAttributeReparsePoint == FILE_ATTRIBUTE_REPARSE_POINT &&
                  kErrorNoMoreFiles == ERROR_NO_MORE_FILES && kErrorInvalidName == ERROR_INVALID_NAME &&
                  kErrorBadPathname == ERROR_BAD_PATHNAME &&
                  kErrorFilenameTooLong == ERROR_FILENAME_EXCED_RANGE && kLongestShortPath + 1 == MAX_PATH,
              "the portable copies of the file search's values differ from the system's");

namespace {

// The buffer that the system's message has to fit into.
constexpr DWORD kMessageBufferSize = 260;

std::uint64_t TicksOf(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FileTimeOf(std::uint64_t ticks) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return time;
}

// Fills a record in place, so that a listing reuses the room of its name.
void FillRecord(const WIN32_FIND_DATAW& data, FindRecord& record) {
  record.attributes = data.dwFileAttributes;
  record.creationTime = TicksOf(data.ftCreationTime);
  record.lastWriteTime = TicksOf(data.ftLastWriteTime);
  record.sizeHigh = data.nFileSizeHigh;
  record.sizeLow = data.nFileSizeLow;
  record.name.assign(data.cFileName);
}

bool HasEmbeddedNul(const std::wstring& path) {
  return path.find(L'\0') != std::wstring::npos;
}

// Starts a search; on failure the handle is empty and errorCode holds the
// system's last-error value taken right after the search failed. The
// search matches names as FindFirstFileW does (short names included); it
// only leaves the short name out of the record, which nothing reads, and
// fetches the entries in larger batches, which spares calls to the file
// system in large folders.
unique_find StartSearch(const std::wstring& path, WIN32_FIND_DATAW& data,
                        std::uint32_t& errorCode) {
  if (HasEmbeddedNul(path)) {
    errorCode = kErrorInvalidName;
    return unique_find();
  }
  unique_find search(FindFirstFileExW(path.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                      nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!search) errorCode = GetLastError();
  return search;
}

}  // namespace

FindResult SystemFileSystem::FindFirst(const std::wstring& path) {
  FindResult result;
  WIN32_FIND_DATAW data;
  const unique_find search = StartSearch(path, data, result.errorCode);
  if (!search) return result;
  result.found = true;
  FillRecord(data, result.record);
  return result;
}

std::uint32_t SystemFileSystem::List(const std::wstring& pattern,
                                     const std::function<bool(const FindRecord&)>& visit) {
  WIN32_FIND_DATAW data;
  std::uint32_t errorCode = 0;
  const unique_find search = StartSearch(pattern, data, errorCode);
  if (!search) return errorCode;
  FindRecord record;
  do {
    FillRecord(data, record);
    if (!visit(record)) return 0;
  } while (FindNextFileW(search.get(), &data));
  // Taken before the search is closed, which may set its own last error.
  return GetLastError();
}

IdentityResult SystemFileSystem::IdentityOf(const std::wstring& folder) {
  IdentityResult result;
  if (HasEmbeddedNul(folder)) {
    result.errorCode = kErrorInvalidName;
    return result;
  }
  // Only the attributes are read, which a folder that denies its listing
  // may still grant; backup semantics open a folder at all.
  const unique_hfile opened(CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information;
  if (!opened || !GetFileInformationByHandle(opened.get(), &information)) {
    result.errorCode = GetLastError();
    return result;
  }
  result.identity = FolderIdentity{
      information.dwVolumeSerialNumber,
      (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
  return result;
}

std::wstring SystemFileSystem::RawSystemMessage(std::uint32_t code) {
  std::string buffer(kMessageBufferSize, ' ');
  const DWORD stored =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                     buffer.data(), kMessageBufferSize, nullptr);
  buffer.resize(stored);
  return FromAnsi(buffer);
}

CalendarFields SystemFileSystem::LocalCalendarFields(std::uint64_t fileTime) {
  const FILETIME utc = FileTimeOf(fileTime);
  FILETIME local = {};
  // A failed conversion leaves the zero time, midnight of 1 January 1601.
  if (!FileTimeToLocalFileTime(&utc, &local)) local = FILETIME{};
  SYSTEMTIME fields;
  if (!FileTimeToSystemTime(&local, &fields)) return CalendarFields{};
  return CalendarFields{fields.wYear, fields.wMonth,  fields.wDay,
                        fields.wHour, fields.wMinute, fields.wSecond};
}

std::optional<std::wstring> SystemFullPaths::FullPathOf(const std::wstring& path) {
  return SystemText([&path](wchar_t* buffer, DWORD size) {
    return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
  });
}

}  // namespace quarnel

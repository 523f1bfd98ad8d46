#pragma once
// In-memory stand-ins for the machine: a file system of directories and
// entries, a registry of values, and a trace sink that keeps its lines.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cwctype>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fileaccess/file_system.h"
#include "fileaccess/long_paths.h"
#include "fileaccess/share_connection.h"
#include "registry/machine_registry.h"
#include "registry/month_names.h"
#include "support/check_error.h"
#include "support/debug_trace.h"

namespace quarnel {
namespace fake {

constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorPathNotFound = 3;
constexpr std::uint32_t kErrorInvalidName = 123;
constexpr std::uint64_t kTicksPerSecond = 10000000;

inline std::wstring Lowered(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

// Case-insensitive match of "*" (any run of characters) and "?" (exactly
// one character), as the system's search matches names.
inline bool GlobMatches(const std::wstring& pattern, const std::wstring& name) {
  const std::wstring p = Lowered(pattern), n = Lowered(name);
  std::size_t pi = 0, ni = 0, starAt = std::wstring::npos, starName = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == L'?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == L'*') {
      starAt = pi++;
      starName = ni;
    } else if (starAt != std::wstring::npos) {
      pi = starAt + 1;
      ni = ++starName;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == L'*') ++pi;
  return pi == p.size();
}

// The system also lets a final ".*" match a name without extension
// ("*.*" lists every entry).
inline bool NameMatches(const std::wstring& pattern, const std::wstring& name) {
  if (GlobMatches(pattern, name)) return true;
  const bool endsInDotStar = pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, L".*") == 0;
  return endsInDotStar && name.find(L'.') == std::wstring::npos &&
         GlobMatches(pattern.substr(0, pattern.size() - 2), name);
}

// Days since 1 January 1970 of a date in the proleptic Gregorian calendar.
inline std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

inline CalendarFields CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
  CalendarFields fields;
  fields.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  fields.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  fields.year = static_cast<int>(yearOfEra + era * 400 + (fields.month <= 2));
  return fields;
}

// Days from 1 January 1601, where file times start, to 1 January 1970.
constexpr std::int64_t kDaysFrom1601To1970 = 134774;

// A file system of directories that hold entries in the order they were
// added. Paths are split at the last "\"; the part before it names the
// directory, the part after it the entry or pattern.
class FakeFileSystem : public FileSystem {
 public:
  // The local time zone: local time = UTC + this offset.
  int utcOffsetMinutes = 0;
  // Calls of FindFirst and of List.
  int searches = 0;
  // Calls of IdentityOf.
  int identityQueries = 0;
  // Searches and listings that could not look: failed with a code other
  // than file not found, path not found or (for a first search) no more
  // files, or cut short after some entries.
  int refusedSearches = 0;

  FakeFileSystem() {
    messages_[kErrorFileNotFound] = L"The system cannot find the file specified.\r\n";
    messages_[kErrorPathNotFound] = L"The system cannot find the path specified.\r\n";
    messages_[5] = L"Access is denied.\r\n";
    messages_[53] = L"The network path was not found.\r\n";
    messages_[kErrorInvalidName] =
        L"The filename, directory name, or volume label syntax is incorrect.\r\n";
    messages_[kErrorBadPathname] = L"The specified path is invalid.\r\n";
    messages_[kErrorFilenameTooLong] = L"The filename or extension is too long.\r\n";
    messages_[1326] = L"The user name or password is incorrect.\r\n";
  }

  // Makes the directory exist, and its entry in the parent directory.
  void AddDirectory(const std::wstring& path) {
    if (directories_.count(Lowered(path))) return;
    directories_[Lowered(path)];
    const auto split = path.find_last_of(L'\\');
    if (split == std::wstring::npos) return;
    FindRecord entry;
    entry.attributes = kAttributeDirectory;
    entry.name = path.substr(split + 1);
    AddEntry(path.substr(0, split), entry);
  }

  // Adds an entry to the directory (made to exist) and returns it for
  // further changes, until the next entry is added there.
  FindRecord& AddEntry(const std::wstring& directory, FindRecord record) {
    AddDirectory(directory);
    auto& entries = directories_[Lowered(directory)];
    entries.push_back(std::move(record));
    return entries.back();
  }

  FindRecord& AddFile(const std::wstring& directory, const std::wstring& name,
                      std::uint64_t size = 0, std::uint64_t lastWriteTime = 0,
                      std::uint64_t creationTime = 0) {
    FindRecord record;
    record.name = name;
    record.sizeHigh = static_cast<std::uint32_t>(size >> 32);
    record.sizeLow = static_cast<std::uint32_t>(size);
    record.lastWriteTime = lastWriteTime;
    record.creationTime = creationTime;
    return AddEntry(directory, record);
  }

  // Sets the attributes of an entry already in the directory.
  void MarkEntry(const std::wstring& directory, const std::wstring& name, std::uint32_t attributes) {
    for (auto& entry : directories_[Lowered(directory)])
      if (entry.name == name) entry.attributes = attributes;
  }

  // A folder at `path` that shows the folder `target` under another path,
  // as a Unix symbolic link does under Wine: an ordinary directory entry,
  // with the identity of the target.
  void AddFolderLink(const std::wstring& path, const std::wstring& target) {
    AddDirectory(path);
    links_[Lowered(path)] = Lowered(target);
  }

  // Every search of exactly this path or pattern fails with the code; so
  // does asking for the identity of exactly this folder.
  void FailSearch(const std::wstring& path, std::uint32_t code) { failures_[path] = code; }

  // The listing of exactly this pattern passes `entries` entries, then its
  // next step fails with the code.
  void FailListingAfter(const std::wstring& pattern, std::size_t entries, std::uint32_t code) {
    cutListings_[pattern] = {entries, code};
  }

  // The raw message (as FormatMessage stores it) for a code; codes
  // without one give the empty text.
  void SetMessage(std::uint32_t code, std::wstring raw) { messages_[code] = std::move(raw); }

  // For this file time the conversion to local time fails, so the zero
  // file time is converted (1 January 1601, midnight).
  void FailLocalTimeConversion(std::uint64_t fileTime) { failedLocal_.push_back(fileTime); }
  // For this file time the conversion to calendar fields fails: all zero.
  void FailCalendarConversion(std::uint64_t fileTime) { failedCalendar_.push_back(fileTime); }

  // The UTC file time that this file system shows as the given local time.
  std::uint64_t LocalFileTime(int year, int month, int day, int hour, int minute,
                              int second) const {
    const std::int64_t days = DaysFromCivil(year, month, day) + kDaysFrom1601To1970;
    const std::int64_t seconds =
        days * 86400 + hour * 3600 + minute * 60 + second - utcOffsetMinutes * 60;
    return static_cast<std::uint64_t>(seconds) * kTicksPerSecond;
  }

  FindResult FindFirst(const std::wstring& path) override {
    ++searches;
    FindResult result;
    Search(path, [&](const FindRecord& record) {
      result.found = true;
      result.record = record;
      return false;
    }, result.errorCode);
    return result;
  }

  std::uint32_t List(const std::wstring& pattern,
                     const std::function<bool(const FindRecord&)>& visit) override {
    ++searches;
    const auto cut = cutListings_.find(pattern);
    std::size_t passed = 0;
    bool cutShort = false, stopped = false;
    std::uint32_t errorCode = 0;
    Search(pattern, [&](const FindRecord& record) {
      if (cut != cutListings_.end() && passed == cut->second.first) {
        cutShort = true;
        return false;
      }
      ++passed;
      stopped = !visit(record);
      return !stopped;
    }, errorCode);
    // The step after the last entry fails as well.
    if (cut != cutListings_.end() && !stopped && errorCode == 0 && passed == cut->second.first)
      cutShort = true;
    if (cutShort) {
      const std::uint32_t code = cut->second.second;
      if (passed > 0 ? code != kErrorNoMoreFiles : !FindsNothing(code)) ++refusedSearches;
      return code;
    }
    if (stopped) return 0;
    return errorCode == 0 ? kErrorNoMoreFiles : errorCode;
  }

  IdentityResult IdentityOf(const std::wstring& folder) override {
    ++identityQueries;
    IdentityResult result;
    const auto failure = failures_.find(folder);
    if (failure != failures_.end()) {
      result.errorCode = failure->second;
      return result;
    }
    std::optional<std::wstring> named = PathAsNamed(folder);
    if (named && *named == L".") named->clear();
    if (named && !named->empty() && named->back() == L'\\') named->pop_back();  // a drive's root
    const std::wstring directory = named ? Resolved(Lowered(*named)) : L"";
    if (!named || !directories_.count(directory)) {
      result.errorCode = kErrorPathNotFound;
      return result;
    }
    const auto known = identities_.emplace(directory, identities_.size() + 1).first;
    result.identity = FolderIdentity{0x1234, known->second};
    return result;
  }

  std::wstring RawSystemMessage(std::uint32_t code) override {
    const auto message = messages_.find(code);
    return message == messages_.end() ? std::wstring() : message->second;
  }

  CalendarFields LocalCalendarFields(std::uint64_t fileTime) override {
    if (Contains(failedCalendar_, fileTime)) return CalendarFields{};
    const std::int64_t seconds =
        Contains(failedLocal_, fileTime)
            ? 0
            : static_cast<std::int64_t>(fileTime / kTicksPerSecond) + utcOffsetMinutes * 60;
    CalendarFields fields = CivilFromDays(seconds / 86400 - kDaysFrom1601To1970);
    fields.hour = static_cast<int>(seconds % 86400 / 3600);
    fields.minute = static_cast<int>(seconds % 3600 / 60);
    fields.second = static_cast<int>(seconds % 60);
    return fields;
  }

 private:
  static bool FindsNothing(std::uint32_t code) {
    return code == kErrorFileNotFound || code == kErrorPathNotFound || code == kErrorNoMoreFiles;
  }

  static bool Contains(const std::vector<std::uint64_t>& times, std::uint64_t time) {
    for (auto t : times)
      if (t == time) return true;
    return false;
  }

  // Visits the matching entries in order; errorCode tells why nothing was
  // visited.
  void Search(const std::wstring& path, const std::function<bool(const FindRecord&)>& visit,
              std::uint32_t& errorCode) {
    const auto failure = failures_.find(path);
    if (failure != failures_.end()) {
      errorCode = failure->second;
      if (!FindsNothing(errorCode)) ++refusedSearches;
      return;
    }
    if (path.find(L'\0') != std::wstring::npos) {
      errorCode = kErrorInvalidName;
      return;
    }
    const std::optional<std::wstring> named = PathAsNamed(path);
    if (!named) {
      errorCode = kErrorPathNotFound;
      return;
    }
    Visit(*named, visit, errorCode);
  }

  // The path that the system looks at: an extended-length path names the
  // path after its prefix, "\\?\UNC\srv\..." the UNC path "\\srv\...". A
  // process that is not long-path aware gets "path not found" for any
  // other path of MAX_PATH (260) characters or more, however it exists.
  static std::optional<std::wstring> PathAsNamed(const std::wstring& path) {
    const std::wstring extended = L"\\\\?\\", extendedUnc = L"\\\\?\\UNC\\";
    if (path.compare(0, extendedUnc.size(), extendedUnc) == 0) {
      return L"\\\\" + path.substr(extendedUnc.size());
    }
    if (path.compare(0, extended.size(), extended) == 0) return path.substr(extended.size());
    if (path.size() >= 260) return std::nullopt;
    return path;
  }

  void Visit(const std::wstring& path, const std::function<bool(const FindRecord&)>& visit,
             std::uint32_t& errorCode) {
    const auto split = path.find_last_of(L'\\');
    const std::wstring directory = split == std::wstring::npos ? L"" : path.substr(0, split);
    const std::wstring pattern = split == std::wstring::npos ? path : path.substr(split + 1);
    const auto entries = directories_.find(Resolved(Lowered(directory)));
    if (entries == directories_.end()) {
      errorCode = kErrorPathNotFound;
      return;
    }
    errorCode = kErrorFileNotFound;
    for (const auto& entry : entries->second) {
      if (!NameMatches(pattern, entry.name)) continue;
      errorCode = 0;
      if (!visit(entry)) return;
    }
  }

  // The directory that a lowered path reaches once every folder link on
  // its way is followed.
  std::wstring Resolved(std::wstring directory) const {
    for (std::size_t hops = 0; hops <= links_.size(); ++hops) {
      bool followed = false;
      for (const auto& [link, target] : links_) {
        if (directory.compare(0, link.size(), link) == 0 &&
            (directory.size() == link.size() || directory[link.size()] == L'\\')) {
          directory = target + directory.substr(link.size());
          followed = true;
          break;
        }
      }
      if (!followed) break;
    }
    return directory;
  }

  std::map<std::wstring, std::vector<FindRecord>> directories_;
  std::map<std::wstring, std::wstring> links_;
  std::map<std::wstring, std::uint64_t> identities_;
  std::map<std::wstring, std::uint32_t> failures_;
  std::map<std::wstring, std::pair<std::size_t, std::uint32_t>> cutListings_;
  std::map<std::uint32_t, std::wstring> messages_;
  std::vector<std::uint64_t> failedLocal_;
  std::vector<std::uint64_t> failedCalendar_;
};

// GetFullPathNameW as the system resolves a path: "/" read as "\", a
// relative path from the current directory, a drive-relative one ("D:x")
// from that drive's, a rooted one ("\x") on the current drive; ".", ".."
// (never above the drive or the share) and repeated separators resolved;
// trailing dots and blanks of the last name dropped; the empty path and
// one over 32,767 characters cannot be made full. Extended-length paths
// come back as they are; "\\.\" devices and UNC paths are rooted at their
// first two names.
class FakeFullPaths : public FullPathResolver {
 public:
  std::wstring currentDirectory = L"C:\\work";
  std::map<wchar_t, std::wstring> driveDirectories;  // by upper-case letter

  std::optional<std::wstring> FullPathOf(const std::wstring& given) override {
    if (given.empty() || given.size() > 32767) return std::nullopt;
    if (given.compare(0, 4, L"\\\\?\\") == 0) return given;
    std::wstring path = given;
    for (auto& c : path)
      if (c == L'/') c = L'\\';
    std::wstring root, rest;
    if (path.compare(0, 2, L"\\\\") == 0) {
      const auto server = path.find(L'\\', 2);
      const auto share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
      root = path.substr(0, share);
      rest = share == std::wstring::npos ? L"" : path.substr(share);
    } else if (path.size() >= 2 && path[1] == L':') {
      root = path.substr(0, 2);
      rest = path.substr(2);
      if (rest.empty() || rest[0] != L'\\') rest = DirectoryOfDrive(path[0]).substr(2) + L"\\" + rest;
    } else {
      root = currentDirectory.substr(0, 2);
      rest = !path.empty() && path[0] == L'\\' ? path : currentDirectory.substr(2) + L"\\" + path;
    }
    std::vector<std::wstring> names;
    std::size_t start = 0;
    while (start <= rest.size()) {
      const auto end = std::min(rest.find(L'\\', start), rest.size());
      const std::wstring name = rest.substr(start, end - start);
      if (name == L"..") {
        if (!names.empty()) names.pop_back();
      } else if (!name.empty() && name != L".") {
        names.push_back(name);
      }
      start = end + 1;
    }
    const bool endsInSeparator = !rest.empty() && rest.back() == L'\\';
    if (!names.empty() && !endsInSeparator) {
      std::wstring& last = names.back();
      last.erase(last.find_last_not_of(L". ") + 1);
    }
    std::wstring full = root;
    for (const auto& name : names) full += L"\\" + name;
    if (endsInSeparator || (names.empty() && root.size() == 2)) full += L"\\";
    return full;
  }

 private:
  std::wstring DirectoryOfDrive(wchar_t drive) const {
    const wchar_t letter = static_cast<wchar_t>(std::towupper(drive));
    if (static_cast<wchar_t>(std::towupper(currentDirectory[0])) == letter) return currentDirectory;
    const auto directory = driveDirectories.find(letter);
    return directory != driveDirectories.end() ? directory->second
                                               : std::wstring(1, letter) + L":\\";
  }
};

// Registry values by key and value name; remembers which value names were
// read. Safe to read from several threads at once. A key's watch sees every
// Set of that key after it began; with `watchable` false no key can be
// watched.
class FakeRegistry : public MachineRegistry {
 public:
  bool watchable = true;

  void Set(const std::wstring& valueName, RegistryValue value,
           const std::wstring& keyPath = kMonthNameKeyPath) {
    const std::lock_guard<std::mutex> lock(mutex_);
    values_[{keyPath, valueName}] = std::move(value);
    ++*ChangesOf(keyPath);
  }

  std::unique_ptr<KeyWatch> WatchMachineKey(const std::wstring& keyPath) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!watchable) return nullptr;
    return std::make_unique<Watch>(ChangesOf(keyPath));
  }

  RegistryValue ReadMachineValue(const std::wstring& keyPath,
                                 const std::wstring& valueName) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    readValueNames_.push_back(valueName);
    const auto value = values_.find({keyPath, valueName});
    return value == values_.end() ? RegistryValue() : value->second;
  }

  std::vector<std::wstring> ReadValueNames() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return readValueNames_;
  }

 private:
  // Outlives the registry, like a real watch does.
  class Watch : public KeyWatch {
   public:
    explicit Watch(std::shared_ptr<std::atomic<int>> changes)
        : changes_(std::move(changes)), start_(*changes_) {}
    bool Changed() override { return *changes_ != start_; }

   private:
    std::shared_ptr<std::atomic<int>> changes_;
    int start_;
  };

  std::shared_ptr<std::atomic<int>>& ChangesOf(const std::wstring& keyPath) {
    auto& changes = changes_[keyPath];
    if (!changes) changes = std::make_shared<std::atomic<int>>(0);
    return changes;
  }

  mutable std::mutex mutex_;
  std::map<std::wstring, std::shared_ptr<std::atomic<int>>> changes_;
  std::map<std::pair<std::wstring, std::wstring>, RegistryValue> values_;
  std::vector<std::wstring> readValueNames_;
};

// Keeps every trace line in order; somebody always listens.
class RecordingTraceSink : public TraceSink {
 public:
  std::vector<std::wstring> lines;
  bool Heard() override { return true; }
  void Write(const std::wstring& line) override { lines.push_back(line); }
};

// A debugger output whose listeners come and go at given times; the test
// moves the clock.
class ScriptedOutput : public DebuggerOutput {
 public:
  bool debugger = false;
  std::uint64_t monitorFrom = ~0ull;  // a monitor listens from this time on
  std::uint64_t now = 0;
  int probes = 0;
  std::vector<std::wstring> written;

  bool DebuggerAttached() override { return debugger; }
  bool OtherListenerPossible() override {
    ++probes;
    return now >= monitorFrom;
  }
  std::uint64_t Microseconds() override { return now; }
  void Write(const std::wstring& line) override { written.push_back(line); }
};

// Records every call as the system would receive it and answers with
// preset codes.
class RecordingNetwork : public NetworkApi {
 public:
  struct Call {
    std::string function;
    NetResource resource;  // AddConnection only
    std::string password, user, name;
    std::uint32_t flags = 0;
    bool force = false;
  };

  std::vector<Call> calls;
  std::uint32_t addResult = 0;
  std::uint32_t cancelResult = 0;
  bool libraryMissing = false;
  // Cancelling, once a connection was made, runs out of memory.
  bool cancelAfterConnectingRunsOutOfMemory = false;

  std::uint32_t AddConnection(const NetResource& resource, const std::string& password,
                              const std::string& user, std::uint32_t flags) override {
    ThrowWhenLibraryMissing();
    Call call;
    call.function = "add";
    call.resource = resource;
    call.password = password;
    call.user = user;
    call.flags = flags;
    calls.push_back(call);
    return addResult;
  }

  std::uint32_t CancelConnection(const std::string& name, std::uint32_t flags,
                                 bool force) override {
    ThrowWhenLibraryMissing();
    if (cancelAfterConnectingRunsOutOfMemory && !Connected().empty()) throw std::bad_alloc();
    Call call;
    call.function = "cancel";
    call.name = name;
    call.flags = flags;
    call.force = force;
    calls.push_back(call);
    return cancelResult;
  }

  // The remote names connected to and the names cancelled, in order.
  std::vector<std::string> Connected() const { return NamesOf("add"); }
  std::vector<std::string> Cancelled() const { return NamesOf("cancel"); }

 private:
  std::vector<std::string> NamesOf(const std::string& function) const {
    std::vector<std::string> names;
    for (const auto& call : calls) {
      if (call.function != function) continue;
      names.push_back(function == "add" ? call.resource.remoteName.value_or("") : call.name);
    }
    return names;
  }

  void ThrowWhenLibraryMissing() const {
    if (libraryMissing) throw CheckError(48, L"Error in loading DLL");
  }
};

// A month-name table loaded with the default names.
inline void LoadDefaultMonthNames(MonthNameTable& months) {
  FakeRegistry empty;
  months.Load(empty);
}

}  // namespace fake
}  // namespace quarnel

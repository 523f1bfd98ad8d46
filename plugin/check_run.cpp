#include "plugin/check_run.h"

#include <cmath>
#include <limits>

#include "fileaccess/date_placeholder.h"
#include "fileaccess/file_dates.h"
#include "fileaccess/file_lookup.h"
#include "fileaccess/file_system.h"
#include "fileaccess/folder_walk.h"
#include "fileaccess/share_connection.h"
#include "params/check_configuration.h"
#include "params/parameter_vocabulary.h"
#include "plugin/date_values.h"
#include "plugin/evaluation.h"
#include "registry/month_names.h"
#include "support/automation.h"
#include "support/check_error.h"
#include "support/debug_trace.h"
#include "support/ole_date.h"
#include "support/secret.h"
#include "support/text.h"

namespace quarnel {

namespace {

// The length of the path's directory part, up to and including its last
// "\"; 0 when it has none.
std::size_t DirectoryLengthOf(const std::wstring& path) {
  const auto last = path.rfind(L'\\');
  return last == std::wstring::npos ? 0 : last + 1;
}

// The first element of the path, once one leading "\\" is removed.
std::wstring ServerNameOf(const std::wstring& path) {
  const std::wstring rest = StartsWith(path, L"\\\\") ? path.substr(2) : path;
  // An empty path has no first element to name a server by.
  if (rest.empty()) throw CheckError(ErrorNumber::SubscriptOutOfRange);
  return rest.substr(0, rest.find(L'\\'));
}

// The path up to and including its last "\". A path without one is a
// pattern in the current folder: its names are read where they were found.
std::wstring DirectoryPrefixOf(const std::wstring& path) {
  return path.substr(0, DirectoryLengthOf(path));
}

// A path that names a share ("\\srv\share") means every file in its root.
void CompleteShareRoot(std::wstring& path, std::wstring& directoryPrefix) {
  if (!StartsWith(path, L"\\\\")) return;
  const auto first = path.find(L'\\', 2);
  if (first != std::wstring::npos && path.find(L'\\', first + 1) != std::wstring::npos) return;
  directoryPrefix = path + L"\\";
  path += L"\\*.*";
}

bool IsPlainFile(const FindRecord& record) {
  return (record.attributes & (kAttributeDirectory | kAttributeHidden | kAttributeSystem)) == 0 &&
         record.name != L"." && record.name != L"..";
}

// The listing's own record describes the file that a second search of
// prefix + name would find, as long as that search looks in the listed
// directory. The listing then spares a second search per file.
bool ListedRecordServes(const std::wstring& path, const std::wstring& directoryPrefix) {
  const std::size_t directoryLength = DirectoryLengthOf(path);
  return directoryLength == directoryPrefix.size() &&
         path.compare(0, directoryLength, directoryPrefix) == 0;
}

// Whether the code that ended a listing is its normal end. Before the first
// entry, a search that finds nothing is one; after it, only running out of
// entries is: a listing cut short would measure part of the files.
bool ListingEndedWell(std::uint32_t code, bool listedAny) {
  if (code == 0) return true;  // stopped by its visitor
  return listedAny ? code == kErrorNoMoreFiles : MeansNothingFound(code);
}

// One run's look at the files: the directory its names are read under,
// whether it walks the folders (a count, or any listing with subfolders),
// and what it has found so far.
struct Look {
  const std::wstring& directoryPrefix;
  bool walk;
  bool subfolders;
  FileMeasurement& found;
};

// Counts one more listed file.
void CountFile(FileMeasurement& found) {
  if (found.entryCount == std::numeric_limits<std::int32_t>::max()) {
    throw CheckError(ErrorNumber::Overflow);
  }
  ++found.entryCount;
}

// Walks the folder of the path, and those below it when asked, with the
// path's name part as the pattern. A folder that could not be listed fails
// the check with a text that names it.
template <typename Visit>
void ForEachWalkedFile(CheckMachine& machine, Look& look, Visit visit) {
  const std::wstring& path = look.found.path;
  const std::size_t directoryLength = DirectoryLengthOf(path);
  const WalkEnd end = WalkFolders(
      machine.files, machine.trace, path.substr(0, directoryLength), path.substr(directoryLength),
      look.subfolders, [&](const std::wstring& folder, const FindRecord& record) {
        if (!IsPlainFile(record)) return true;
        CountFile(look.found);
        return visit(folder, record);
      });
  look.found.folderListed = end.rootFound && !end.failure;
  look.found.nothingFoundCode = end.rootSearchCode;
  if (end.failure && !look.found.failure) look.found.failure = end.failure;
}

// Lists the plain files that the path matches, counting each one, as long
// as `visit` returns true; `visit` gets each file's folder and its record.
// A listing that could not look, or was cut short, fails the check with the
// system's code.
template <typename Visit>
void ForEachListedFile(CheckMachine& machine, Look& look, Visit visit) {
  if (look.walk) {
    ForEachWalkedFile(machine, look, visit);
    return;
  }
  bool listedAny = false;
  const std::uint32_t ended = machine.files.List(look.found.path, [&](const FindRecord& record) {
    listedAny = true;
    if (record.name.empty()) return false;
    if (!IsPlainFile(record)) return true;
    CountFile(look.found);
    return visit(look.directoryPrefix, record);
  });
  if (!ListingEndedWell(ended, listedAny)) {
    look.found.failure = ErrorDateText(machine.files, ended);
  } else if (look.found.entryCount == 0) {
    look.found.nothingFoundCode = ended;
  }
}

// Whether the listing's own records describe the files that the run
// measures: a walk lists each folder itself; a single listing, when its
// names are read in the folder it listed.
bool RecordsServe(const Look& look) {
  return look.walk || ListedRecordServes(look.found.path, look.directoryPrefix);
}

// Every listed file counts: when one size cannot be read, the check fails
// with that read's error text rather than report a total without it.
void SumSizes(CheckMachine& machine, Look& look) {
  // A "{" in prefix + name may start a placeholder, whose expansion can
  // name another file: that one is searched for. No path is made otherwise.
  // A walk measures the files it listed, whatever their names hold.
  const bool listingServes = RecordsServe(look) && !Contains(look.directoryPrefix, L'{');
  ForEachListedFile(machine, look, [&](const std::wstring& folder, const FindRecord& record) {
    std::wstring errorText;
    const double size =
        look.walk || (listingServes && !Contains(record.name, L'{'))
            ? FileLengthOf(record)
            : GetFileLength(machine.files,
                            ExpandDatePlaceholder(folder + record.name, machine.clock,
                                                  machine.automation),
                            errorText);
    if (size < 0) {
      look.found.failure = errorText;
      return false;
    }
    look.found.sizeTotal += size;
    if (!std::isfinite(look.found.sizeTotal)) throw CheckError(ErrorNumber::Overflow);
    return true;
  });
}

// A file that is not there is not found; one that could not be looked at
// fails the check, whatever a missing file is configured to mean.
void ReadSingleDate(CheckMachine& machine, Look& look, bool creation) {
  FileDate date;
  std::wstring text;
  if (creation) {
    machine.trace.Trace(L"before GetFileCreateDate");
    date = GetFileCreateDate(machine.files, look.found.path);
    text = DateTextOf(machine.monthNames, date);
    machine.trace.Trace([&] { return L"after  GetFileCreateDate (" + text + L")"; });
  } else {
    machine.trace.Trace(L"before GetFileLastWriteDate");
    date = GetFileLastWriteDate(machine.files, machine.monthNames, machine.trace, look.found.path);
    text = DateTextOf(machine.monthNames, date);
    machine.trace.Trace([&] { return L"after GetFileLastWriteDate (" + text + L")"; });
  }
  look.found.fileDate = text;
  look.found.fileDateFields = date.fields;
  if (date.read) {
    look.found.entryCount = 1;
  } else if (MeansNothingFound(date.errorCode)) {
    look.found.nothingFoundCode = date.errorCode;
  } else {
    look.found.failure = text;
  }
}

// The file chosen so far by an oldest / youngest scan: its name, its date
// fields, and the date's value once a comparison has needed it.
struct ScanChoice {
  std::wstring folder;
  std::wstring name;
  CalendarFields fields;
  std::optional<OleDate> value;
};

// A date's value for a comparison. A text that does not read back as its
// date ends the check there; the file date is still Empty during the scan,
// and so is what the error report shows.
OleDate ValueToCompare(DateValues& dates, const CalendarFields& fields) {
  if (const std::optional<OleDate> value = dates.ValueOf(fields)) return *value;
  throw CheckError(ErrorNumber::TypeMismatch);
}

// Whether a candidate's date replaces the best so far: strictly older for
// the oldest, strictly younger for the youngest.
bool Replaces(const Kind& kind, OleDate best, OleDate candidate) {
  const long long difference = DateDifference(L"s", best, candidate);
  return kind.pick == Pick::Oldest ? difference < 0 : difference > 0;
}

// Picks the oldest or the youngest listed file by one of its dates. Equal
// dates keep the file listed first. A file that is gone by the time its
// date is read is passed over; one whose date could not be looked at fails
// the check, since the choice would leave it out.
//
// The first candidate is taken as it is: dates are read back only where a
// comparison needs their values. A file's path and date text are made only
// for the trace lines that somebody hears, and for the chosen file at the
// end.
void ScanForOldestOrYoungest(CheckMachine& machine, Look& look, const Kind& kind) {
  const bool recordServes = RecordsServe(look);
  const bool creation = kind.date == WhichDate::Creation;
  DateValues dates(machine.automation, machine.monthNames);
  std::optional<ScanChoice> best;
  std::wstring lastFailedRead;

  ForEachListedFile(machine, look, [&](const std::wstring& folder, const FindRecord& record) {
    LazyText fullPath([&] { return folder + record.name; });
    FileDate date;
    if (recordServes) {
      date = ListedFileDate(machine.files, record, creation);
    } else {
      date = creation ? GetFileCreateDate(machine.files, fullPath())
                           : GetFileLastWriteDate(machine.files, machine.monthNames,
                                                  machine.trace, fullPath());
    }
    if (!creation) {
      LazyText dateText([&] { return DateTextOf(machine.monthNames, date); });
      if (recordServes) TraceLastWriteDate(machine.trace, date, fullPath, dateText);
      machine.trace.Trace([&] { return fullPath() + L"date:" + dateText(); });
    }
    if (!date.read) {
      if (!MeansNothingFound(date.errorCode)) {
        look.found.failure = date.errorText;
        return false;
      }
      lastFailedRead = date.errorText;
      return true;
    }
    if (!best) {
      best = ScanChoice{folder, record.name, date.fields, std::nullopt};
      return true;
    }
    if (!best->value) best->value = ValueToCompare(dates, best->fields);
    const OleDate candidate = ValueToCompare(dates, date.fields);
    if (Replaces(kind, *best->value, candidate)) {
      best->folder.assign(folder);
      best->name.assign(record.name);
      best->fields = date.fields;
      best->value = candidate;
    }
    return true;
  });

  const std::wstring bestText = best ? DateText(machine.monthNames, best->fields) : L"";
  if (best) look.found.chosenPath = best->folder + best->name;
  machine.trace.Trace([&] {
    return (kind.pick == Pick::Oldest ? L"OLDEST: " : L"YOUNGEST: ") + look.found.chosenPath + L"-" + bestText;
  });
  if (look.found.failure) return;
  if (best) {
    look.found.fileDate = bestText;
    look.found.fileDateFields = best->fields;
  } else if (look.found.entryCount != 0) {
    // Files were listed but not one date could be read: that is a failed
    // read, not an age counted from the zero date.
    look.found.failure = lastFailedRead;
  }
}

// A code that is no kind measures nothing.
void Measure(CheckMachine& machine, const Kind* kind, Look& look) {
  if (!kind) return;
  if (kind->quantity == Quantity::Size) {
    SumSizes(machine, look);
  } else if (kind->quantity == Quantity::Count) {
    ForEachListedFile(machine, look, [](const std::wstring&, const FindRecord&) { return true; });
  } else if (kind->reads == Reads::OneFile) {
    ReadSingleDate(machine, look, kind->date == WhichDate::Creation);
  } else {
    ScanForOldestOrYoungest(machine, look, *kind);
  }
}

// Keeps the share connection of one run and cancels it on every way out.
class ShareConnection {
 public:
  explicit ShareConnection(NetworkApi& network) : network_(network) {}
  ~ShareConnection() { Cancel(); }
  ShareConnection(const ShareConnection&) = delete;
  ShareConnection& operator=(const ShareConnection&) = delete;

  // Connects with the configured credentials, and wipes the password
  // whatever the outcome: nothing needs it afterwards.
  bool Connect(FileSystem& files, const std::wstring& server, CheckConfiguration& configuration,
               std::wstring& errorText) {
    server_ = server;
    connected_ = ConnectIpcShare(network_, files, server_, configuration.userName,
                                 configuration.password, errorText);
    WipeSecret(configuration.password);
    return connected_;
  }
  void Cancel() noexcept {
    if (!connected_) return;
    connected_ = false;
    // Cancelling is best effort; the system drops the connection later. It
    // also runs from the destructor, while another exception may be on its
    // way out: nothing may leave it.
    try {
      DisconnectIpcShare(network_, server_);
    } catch (...) {
    }
  }

 private:
  NetworkApi& network_;
  std::wstring server_;
  bool connected_ = false;
};

}  // namespace

CheckOutcome RunCheck(const std::function<std::wstring()>& readParameterString,
                      CheckMachine& machine) {
  CheckConfiguration configuration;
  FileMeasurement measured;
  Moment now;
  bool configured = false;
  bool passed = false;
  ShareConnection share(machine.network);
  try {
    machine.monthNames.Refresh(machine.registry);
    ReadConfiguration(KeySource(readParameterString), ConfigurationReader::Check, configuration);
    configured = true;
    std::wstring& path = measured.path;
    path = configuration.path;
    if (Contains(path, L'{') && Contains(path, L'}')) {
      path = ExpandDatePlaceholder(path, machine.clock, machine.automation);
    }
    if (configuration.authenticate) {
      const std::wstring server = ServerNameOf(path);
      std::wstring connectionError;
      if (!share.Connect(machine.files, server, configuration, connectionError)) {
        DisconnectIpcShare(machine.network, server);
        return {false, connectionError, CheckReading()};
      }
    }
    std::wstring directoryPrefix = DirectoryPrefixOf(path);
    CompleteShareRoot(path, directoryPrefix);
    path = ExpandDatePlaceholder(path, machine.clock, machine.automation);
    const Kind* kind = KindOf(configuration.what);
    // Single-date kinds read one file: subfolders play no part there.
    const bool subfolders = configuration.subfolders && kind && kind->reads == Reads::Listing;
    const bool counting = kind && kind->quantity == Quantity::Count;
    Look look{directoryPrefix, subfolders || counting, subfolders, measured};
    Measure(machine, kind, look);
    share.Cancel();
    const Verdict verdict = Evaluate(configuration, measured, machine, now);
    passed = verdict.passed;
    return CloseCheck(verdict, machine);
  } catch (const CheckError& error) {
    WipeSecret(configuration.password);
    share.Cancel();
    // A failure while the keys are read shows the path as far as it was read.
    if (!configured) measured.path = configuration.path;
    const Kind* kind = KindOf(configuration.what);
    return ErrorReport(error,
                       {configuration.unit, measured, now, passed,
                        configured && kind && kind->quantity == Quantity::Count},
                       machine);
  }
}

}  // namespace quarnel

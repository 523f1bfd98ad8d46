#include "plugin/check_run.h"

#include <cmath>
#include <limits>

#include "fileaccess/date_placeholder.h"
#include "fileaccess/file_dates.h"
#include "fileaccess/file_lookup.h"
#include "fileaccess/file_system.h"
#include "fileaccess/share_connection.h"
#include "params/base64.h"
#include "params/debug_trace.h"
#include "params/leading_number.h"
#include "params/parameter_string.h"
#include "params/parameter_vocabulary.h"
#include "plugin/date_values.h"
#include "plugin/evaluation.h"
#include "registry/month_names.h"
#include "support/automation.h"
#include "support/check_error.h"
#include "support/ole_date.h"
#include "support/secret.h"
#include "support/text.h"

namespace quarnel {

Kind KindOf(const std::wstring& what) {
  if (what.empty() || what == what::kSize) return {Measurement::Size, false, false};
  if (what == what::kCreationDate) return {Measurement::CreationDate, true, false};
  if (what == what::kLastWriteDate) return {Measurement::LastWriteDate, false, false};
  if (what == what::kOldestCreated) return {Measurement::Scan, true, true};
  if (what == what::kOldestWritten) return {Measurement::Scan, false, true};
  if (what == what::kYoungestCreated) return {Measurement::Scan, true, false};
  if (what == what::kYoungestWritten) return {Measurement::Scan, false, false};
  return {};
}

namespace {

// The length of the path's directory part, up to and including its last
// "\"; 0 when it has none.
std::size_t DirectoryLengthOf(const std::wstring& path) {
  const auto last = path.rfind(L'\\');
  return last == std::wstring::npos ? 0 : last + 1;
}

void ReadConfiguration(const std::function<std::wstring()>& readParameterString,
                       CheckValues& values) {
  const auto value = [&](const wchar_t* key) { return GetParameter(readParameterString(), key); };
  values.debug = IsFlagSet(value(key::kDebug));
  values.authenticate = IsFlagSet(value(key::kAuthenticate));
  if (values.authenticate) {
    values.userName = value(key::kUser);
    values.password = DecodePassword(value(key::kPassword));
  }
  values.path = UnescapeValue(value(key::kFile));
  values.what = value(key::kWhat);
  values.unit = value(key::kUnit);
  values.threshold = ReadLeadingNumber(value(key::kValue));
  values.comparison = value(key::kComparison);
  values.notFoundIsOk = IsFlagSet(value(key::kNotFoundIsOk));
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
void CompleteShareRoot(CheckValues& values) {
  const std::wstring& path = values.path;
  if (!StartsWith(path, L"\\\\")) return;
  const auto first = path.find(L'\\', 2);
  if (first != std::wstring::npos && path.find(L'\\', first + 1) != std::wstring::npos) return;
  values.directoryPrefix = path + L"\\";
  values.path += L"\\*.*";
}

bool IsPlainFile(const FindRecord& record) {
  return (record.attributes & (kAttributeDirectory | kAttributeHidden | kAttributeSystem)) == 0 &&
         record.name != L"." && record.name != L"..";
}

// The listing's own record describes the file that a second search of
// prefix + name would find, as long as that search looks in the listed
// directory. The listing then spares a second search per file.
bool ListedRecordServes(const CheckValues& values) {
  const std::size_t directoryLength = DirectoryLengthOf(values.path);
  return directoryLength == values.directoryPrefix.size() &&
         values.path.compare(0, directoryLength, values.directoryPrefix) == 0;
}

// Whether the code that ended a listing is its normal end. Before the first
// entry, a search that finds nothing is one; after it, only running out of
// entries is: a listing cut short would measure part of the files.
bool ListingEndedWell(std::uint32_t code, bool listedAny) {
  if (code == 0) return true;  // stopped by its visitor
  return listedAny ? code == kErrorNoMoreFiles : MeansNothingFound(code);
}

// Lists the plain files that the path matches, counting each one, as long
// as `visit` returns true. A listing that could not look, or was cut short,
// fails the check with the system's code.
template <typename Visit>
void ForEachListedFile(CheckMachine& machine, CheckValues& values, Visit visit) {
  bool listedAny = false;
  const std::uint32_t ended = machine.files.List(values.path, [&](const FindRecord& record) {
    listedAny = true;
    if (record.name.empty()) return false;
    if (!IsPlainFile(record)) return true;
    if (values.entryCount == std::numeric_limits<std::int32_t>::max()) {
      throw CheckError(ErrorNumber::Overflow);
    }
    ++values.entryCount;
    return visit(record);
  });
  if (!ListingEndedWell(ended, listedAny)) values.failure = ErrorDateText(machine.files, ended);
}

// Every listed file counts: when one size cannot be read, the check fails
// with that read's error text rather than report a total without it.
void SumSizes(CheckMachine& machine, CheckValues& values) {
  // A "{" in prefix + name may start a placeholder, whose expansion can
  // name another file: that one is searched for. No path is made otherwise.
  const bool recordServes =
      ListedRecordServes(values) && !Contains(values.directoryPrefix, L'{');
  ForEachListedFile(machine, values, [&](const FindRecord& record) {
    std::wstring errorText;
    const double size =
        recordServes && !Contains(record.name, L'{')
            ? FileLengthOf(record)
            : GetFileLength(machine.files,
                            ExpandDatePlaceholder(values.directoryPrefix + record.name,
                                                  machine.clock, machine.automation),
                            errorText);
    if (size < 0) {
      values.failure = errorText;
      return false;
    }
    values.sizeTotal += size;
    if (!std::isfinite(values.sizeTotal)) throw CheckError(ErrorNumber::Overflow);
    return true;
  });
}

// A file that is not there is not found; one that could not be looked at
// fails the check, whatever a missing file is configured to mean.
void ReadSingleDate(CheckMachine& machine, CheckValues& values, bool creation) {
  FileDate date;
  std::wstring text;
  if (creation) {
    machine.trace.Trace(L"before GetFileCreateDate");
    date = GetFileCreateDate(machine.files, values.path);
    text = DateTextOf(machine.monthNames, date);
    machine.trace.Trace([&] { return L"after  GetFileCreateDate (" + text + L")"; });
  } else {
    machine.trace.Trace(L"before GetFileLastWriteDate");
    date = GetFileLastWriteDate(machine.files, machine.monthNames, machine.trace, values.path);
    text = DateTextOf(machine.monthNames, date);
    machine.trace.Trace([&] { return L"after GetFileLastWriteDate (" + text + L")"; });
  }
  values.fileDate = text;
  values.fileDateFields = date.fields;
  if (date.read) {
    values.entryCount = 1;
  } else if (!MeansNothingFound(date.errorCode)) {
    values.failure = text;
  }
}

// The file chosen so far by an oldest / youngest scan: its name, its date
// fields, and the date's value once a comparison has needed it.
struct ScanChoice {
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
  return kind.oldest ? difference < 0 : difference > 0;
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
void ScanForOldestOrYoungest(CheckMachine& machine, CheckValues& values, const Kind& kind) {
  const bool recordServes = ListedRecordServes(values);
  DateValues dates(machine.automation, machine.monthNames);
  std::optional<ScanChoice> best;
  std::wstring lastFailedRead;

  ForEachListedFile(machine, values, [&](const FindRecord& record) {
    LazyText fullPath([&] { return values.directoryPrefix + record.name; });
    FileDate date;
    if (recordServes) {
      date = ListedFileDate(machine.files, record, kind.creation);
    } else {
      date = kind.creation ? GetFileCreateDate(machine.files, fullPath())
                           : GetFileLastWriteDate(machine.files, machine.monthNames,
                                                  machine.trace, fullPath());
    }
    if (!kind.creation) {
      LazyText dateText([&] { return DateTextOf(machine.monthNames, date); });
      if (recordServes) TraceLastWriteDate(machine.trace, date, fullPath, dateText);
      machine.trace.Trace([&] { return fullPath() + L"date:" + dateText(); });
    }
    if (!date.read) {
      if (!MeansNothingFound(date.errorCode)) {
        values.failure = date.errorText;
        return false;
      }
      lastFailedRead = date.errorText;
      return true;
    }
    if (!best) {
      best = ScanChoice{record.name, date.fields, std::nullopt};
      return true;
    }
    if (!best->value) best->value = ValueToCompare(dates, best->fields);
    const OleDate candidate = ValueToCompare(dates, date.fields);
    if (Replaces(kind, *best->value, candidate)) {
      best->name.assign(record.name);
      best->fields = date.fields;
      best->value = candidate;
    }
    return true;
  });

  const std::wstring bestText = best ? DateText(machine.monthNames, best->fields) : L"";
  if (best) values.chosenPath = values.directoryPrefix + best->name;
  machine.trace.Trace([&] {
    return (kind.oldest ? L"OLDEST: " : L"YOUNGEST: ") + values.chosenPath + L"-" + bestText;
  });
  if (values.failure) return;
  if (best) {
    values.fileDate = bestText;
    values.fileDateFields = best->fields;
  } else if (values.entryCount != 0) {
    // Files were listed but not one date could be read: that is a failed
    // read, not an age counted from the zero date.
    values.failure = lastFailedRead;
  }
}

void Measure(CheckMachine& machine, CheckValues& values) {
  const Kind kind = KindOf(values.what);
  switch (kind.measurement) {
    case Measurement::Size: SumSizes(machine, values); break;
    case Measurement::CreationDate:
    case Measurement::LastWriteDate: ReadSingleDate(machine, values, kind.creation); break;
    case Measurement::Scan: ScanForOldestOrYoungest(machine, values, kind); break;
    case Measurement::Nothing: break;
  }
}

// Keeps the share connection of one run and cancels it on every way out.
class ShareConnection {
 public:
  explicit ShareConnection(NetworkApi& network) : network_(network) {}
  ~ShareConnection() { Cancel(); }
  ShareConnection(const ShareConnection&) = delete;
  ShareConnection& operator=(const ShareConnection&) = delete;

  bool Connect(FileSystem& files, CheckValues& values, std::wstring& errorText) {
    server_ = values.serverName;
    connected_ = ConnectIpcShare(network_, files, server_, values.userName, values.password,
                                 errorText);
    WipeSecret(values.password);
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
  CheckValues values;
  ShareConnection share(machine.network);
  try {
    machine.monthNames.Refresh(machine.registry);
    ReadConfiguration(readParameterString, values);
    if (Contains(values.path, L'{') && Contains(values.path, L'}')) {
      values.path = ExpandDatePlaceholder(values.path, machine.clock, machine.automation);
    }
    if (values.authenticate) {
      values.serverName = ServerNameOf(values.path);
      std::wstring connectionError;
      if (!share.Connect(machine.files, values, connectionError)) {
        DisconnectIpcShare(machine.network, values.serverName);
        return {false, connectionError};
      }
    }
    values.directoryPrefix = DirectoryPrefixOf(values.path);
    CompleteShareRoot(values);
    values.path = ExpandDatePlaceholder(values.path, machine.clock, machine.automation);
    Measure(machine, values);
    share.Cancel();
    return Evaluate(values, machine);
  } catch (const CheckError& error) {
    WipeSecret(values.password);
    share.Cancel();
    return ErrorReport(error, values, machine);
  }
}

}  // namespace quarnel

// Whole checks over a fake machine: the input chooses the parameter string
// (built from plausible keys and values, or raw), the files in three
// directories (one below another, with or without a link back up), failing searches and time conversions, the clock, what the
// network answers and when reading sa_parameter fails.
//
// What must hold for every input:
// - RunCheck returns; nothing escapes it;
// - a passed check has a result, and it does not begin with "ERR";
// - a check never passes when one of its searches could not look;
// - a passed check is a found size or age compared by a known code, or
//   nothing found with FNF=T;
// - a result or trace line holds a carriage return or a line feed only when
//   the parameter string or a file name brought one in;
// - the clear password appears in no result and no trace line, unless the
//   parameter string or a file name holds the same text anyway;
// - a share connection that was made is cancelled before RunCheck returns;
// - a run that hands sa_parameter on ends its trace with its result
//   ("COM CHECK: RES: " and "COM CHECK: OUT: ", or "ERROR " and the report).

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fileaccess/share_connection.h"
#include "params/base64.h"
#include "params/parameter_string.h"
#include "plugin/check_run.h"
#include "registry/month_names.h"
#include "support/check_error.h"
#include "support/ole_date.h"
#include "support/text.h"
#include "tests/native/fake_automation.h"
#include "tests/native/fake_machine.h"
#include "fuzz_support.h"

namespace quarnel {
namespace {

const wchar_t* const kDirectories[] = {L"C:\\data", L"C:\\data\\sub", L"\\\\srv\\share"};

// Characters that matter to paths, patterns, placeholders and the
// parameter string, plus a few beyond the ANSI range.
std::wstring TextFrom(FuzzedDataProvider& input, std::size_t longest) {
  static const wchar_t kAlphabet[] = L"ab.*?{}\\#=\r\n \"ymdhns+-1 0xTFLGEQ:\u00e9\u0436\U0001F600";
  constexpr std::size_t kLetters = sizeof kAlphabet / sizeof kAlphabet[0] - 1;
  const std::string bytes = input.ConsumeRandomLengthString(longest);
  std::wstring text;
  for (const char byte : bytes) text += kAlphabet[static_cast<unsigned char>(byte) % kLetters];
  return text;
}

template <std::size_t N>
std::wstring OneOfOrText(FuzzedDataProvider& input, const wchar_t* const (&choices)[N]) {
  const std::size_t pick = input.ConsumeIntegralInRange<std::size_t>(0, N);
  return pick < N ? std::wstring(choices[pick]) : TextFrom(input, 8);
}

std::wstring FlagFrom(FuzzedDataProvider& input) {
  static const wchar_t* const kFlags[] = {L"T", L"F", L"t", L""};
  return OneOfOrText(input, kFlags);
}

struct Configuration {
  std::wstring parameterString;
  std::wstring clearPassword;
  std::wstring path;  // as configured; empty for a raw parameter string
};

Configuration ConfigurationFrom(FuzzedDataProvider& input) {
  Configuration configuration;
  if (input.ConsumeBool()) {
    configuration.parameterString = TextFrom(input, 200);
    return configuration;
  }
  static const wchar_t* const kKinds[] = {L"SIZE",     L"",        L"CDATE",    L"WDATE", L"OLDCREA",
                                          L"OLDWRITE", L"YOUCREA", L"YOUWRITE", L"COUNT"};
  static const wchar_t* const kComparisons[] = {L"LT", L"GT", L"EQ", L"NQ"};
  static const wchar_t* const kUnits[] = {L"B", L"KB", L"MB", L"GB", L"TB", L"N", L"H", L"D",
                                          L"n", L"yyyy", L"q", L"w", L"ww", L"s"};
  static const wchar_t* const kValues[] = {L"0", L"1", L"1.5", L"-1", L"1e308", L"1e999", L""};

  const std::wstring directory = input.PickValueInArray(kDirectories);
  const std::wstring path = input.ConsumeBool() ? directory + L"\\" + TextFrom(input, 16)
                                                : TextFrom(input, 40);
  configuration.path = path;
  configuration.clearPassword = L"Pw!" + TextFrom(input, 12);
  const std::wstring authenticate = FlagFrom(input);
  configuration.parameterString =
      L"#FILE=" + EscapeValue(path, true) + L"#WHT=" + OneOfOrText(input, kKinds) +
      L"#CMP=" + OneOfOrText(input, kComparisons) + L"#VAL=" + OneOfOrText(input, kValues) +
      L"#UNIT=" + OneOfOrText(input, kUnits) + L"#AUTH=" + authenticate +
      L"#USR=dom\\user#PWD=" + EncodePassword(configuration.clearPassword) +
      L"#DBG=" + FlagFrom(input) + L"#FNF=" + FlagFrom(input) + L"#SUB=" + FlagFrom(input) + L"#";
  return configuration;
}

std::uint64_t FileTimeFrom(FuzzedDataProvider& input, const fake::FakeFileSystem& files) {
  if (input.ConsumeBool()) return input.ConsumeIntegral<std::uint64_t>();
  return files.LocalFileTime(input.ConsumeIntegralInRange(1990, 2030),
                             input.ConsumeIntegralInRange(1, 12), input.ConsumeIntegralInRange(1, 28),
                             input.ConsumeIntegralInRange(0, 23), input.ConsumeIntegralInRange(0, 59),
                             input.ConsumeIntegralInRange(0, 59));
}

// Names never hold a NUL: no file system keeps one.
std::vector<std::wstring> AddFiles(FuzzedDataProvider& input, fake::FakeFileSystem& files) {
  std::vector<std::wstring> names;
  const int count = input.ConsumeIntegralInRange(0, 12);
  for (int i = 0; i < count; ++i) {
    const std::wstring directory = input.PickValueInArray(kDirectories);
    std::wstring name = TextFrom(input, 12);
    for (wchar_t& c : name)
      if (c == L'\\') c = L'_';
    if (name.empty()) name = L"a.log";
    const std::uint64_t size = input.ConsumeBool() ? input.ConsumeIntegral<std::uint64_t>()
                                                   : input.ConsumeIntegralInRange<std::uint64_t>(0, 5000);
    const std::uint64_t written = FileTimeFrom(input, files);
    const std::uint64_t created = FileTimeFrom(input, files);
    FindRecord& record = files.AddFile(directory, name, size, written, created);
    record.attributes = input.ConsumeIntegral<std::uint8_t>() & 0x37;
    if (input.ConsumeBool()) files.FailLocalTimeConversion(written);
    if (input.ConsumeBool()) files.FailCalendarConversion(created);
    if (input.ConsumeBool()) files.FailSearch(directory + L"\\" + name, 5);
    names.push_back(name);
  }
  return names;
}

// Answers with a chosen code, or cannot load its library; keeps the order
// of connections made and cancelled.
class FuzzedNetwork : public NetworkApi {
 public:
  std::uint32_t addResult = 0;
  bool libraryMissing = false;
  bool connected = false;
  bool cancelledAfterConnecting = false;

  std::uint32_t AddConnection(const NetResource&, const std::string&, const std::string&,
                              std::uint32_t) override {
    if (libraryMissing) throw CheckError(126, L"The specified module could not be found.");
    if (addResult == 0) {
      connected = true;
      cancelledAfterConnecting = false;
    }
    return addResult;
  }
  std::uint32_t CancelConnection(const std::string&, std::uint32_t, bool) override {
    if (libraryMissing) throw CheckError(126, L"The specified module could not be found.");
    if (connected) cancelledAfterConnecting = true;
    return 0;
  }
};

bool HasLineBreak(const std::wstring& text) {
  return text.find_first_of(L"\r\n") != std::wstring::npos;
}

bool AnyContains(const std::vector<std::wstring>& texts, const std::wstring& part) {
  for (const auto& text : texts)
    if (text.find(part) != std::wstring::npos) return true;
  return false;
}

bool AnyHasLineBreak(const std::vector<std::wstring>& texts) {
  for (const auto& text : texts)
    if (HasLineBreak(text)) return true;
  return false;
}

bool IsKnownComparison(const std::wstring& comparison) {
  return comparison == L"LT" || comparison == L"GT" || comparison == L"EQ" || comparison == L"NQ";
}

using quarnel::fuzz::Require;

}  // namespace
}  // namespace quarnel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quarnel;
  FuzzedDataProvider input(data, size);

  const Configuration configuration = ConfigurationFrom(input);
  fake::FakeFileSystem files;
  files.utcOffsetMinutes = input.ConsumeIntegralInRange(-720, 840);
  for (const wchar_t* directory : kDirectories) files.AddDirectory(directory);
  // A folder below that shows the top again, as a Unix link under Wine.
  if (input.ConsumeBool()) files.AddFolderLink(L"C:\\data\\sub\\up", L"C:\\data");
  const std::vector<std::wstring> names = AddFiles(input, files);
  // The configured search itself fails, at once or after some entries.
  const std::uint32_t searchCode = input.PickValueInArray({0u, 2u, 3u, 5u, 18u, 53u, 123u, 4321u});
  if (searchCode != 0 && input.ConsumeBool()) {
    files.FailSearch(configuration.path, searchCode);
  } else if (searchCode != 0) {
    files.FailListingAfter(configuration.path, input.ConsumeIntegralInRange(0, 3), searchCode);
  }

  FuzzedNetwork network;
  network.addResult = input.ConsumeBool() ? 0 : input.PickValueInArray({5u, 53u, 1326u, 1219u});
  network.libraryMissing = input.ConsumeIntegralInRange(0, 9) == 0;

  FixedClock clock(OleDateFromFields({input.ConsumeIntegralInRange(1990, 2030),
                                      input.ConsumeIntegralInRange(1, 12),
                                      input.ConsumeIntegralInRange(1, 28),
                                      input.ConsumeIntegralInRange(0, 23),
                                      input.ConsumeIntegralInRange(0, 59),
                                      input.ConsumeIntegralInRange(0, 59)}));
  // sa_parameter holds Null from this read on (0: never).
  const int nullFromRead = input.ConsumeIntegralInRange(0, 12);
  int reads = 0;
  const auto readParameterString = [&] {
    if (++reads == nullFromRead) throw CheckError(ErrorNumber::InvalidUseOfNull);
    return configuration.parameterString;
  };

  fake::FakeRegistry registry;
  fake::RecordingTraceSink trace;
  MonthNameTable months;
  FakeAutomation automation;
  CheckMachine machine{trace, files, network, registry, months, automation, clock};
  const CheckOutcome outcome = RunCheck(readParameterString, machine);

  if (outcome.passed) {
    Require(files.refusedSearches == 0);
    Require(outcome.result.has_value());
    Require(!StartsWith(*outcome.result, L"ERR"));
    const bool nothingFound = *outcome.result == L"No matching files";
    Require((nothingFound && GetParameter(configuration.parameterString, L"FNF") == L"T") ||
            IsKnownComparison(GetParameter(configuration.parameterString, L"CMP")));
  }

  const bool lineBreakBroughtIn = HasLineBreak(configuration.parameterString) ||
                                  HasLineBreak(UnescapeValue(configuration.parameterString)) ||
                                  AnyHasLineBreak(names);
  if (!lineBreakBroughtIn) {
    Require(!outcome.result || !HasLineBreak(*outcome.result));
    Require(!AnyHasLineBreak(trace.lines));
  }

  const std::wstring& password = configuration.clearPassword;
  if (!password.empty() && configuration.parameterString.find(password) == std::wstring::npos &&
      UnescapeValue(configuration.parameterString).find(password) == std::wstring::npos &&
      !AnyContains(names, password)) {
    Require(!outcome.result || outcome.result->find(password) == std::wstring::npos);
    Require(!AnyContains(trace.lines, password));
  }

  Require(!network.connected || network.cancelledAfterConnecting);

  // An error report and an evaluation each close the trace with the result text.
  const auto& lines = trace.lines;
  if (!lines.empty() && StartsWith(lines.back(), L"ERROR ")) {
    Require(outcome.result && lines.back() == L"ERROR " + *outcome.result);
  }
  if (!lines.empty() && StartsWith(lines.back(), L"COM CHECK: OUT: ")) {
    Require(outcome.result && lines.size() >= 2 &&
            lines[lines.size() - 2] == L"COM CHECK: RES: " + *outcome.result);
  }
  return 0;
}

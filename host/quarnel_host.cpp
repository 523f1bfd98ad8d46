// quarnel-host: stands in for the monitoring host. It drives the plug-in the
// way the host does, by late binding on an apartment thread, and shows the
// plug-in's trace lines. `quarnel-host --help` and `quarnel-host COMMAND
// --help` describe the commands and their exit codes.

#include "support/windows_win32.h"
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <cwchar>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fileaccess/file_system_win32.h"
#include "host/console_output.h"
#include "host/debug_viewer.h"
#include "host/late_binding.h"
#include "host/monitoring_plugin.h"
#include "host/watchdog.h"
#include "plugin/check_reading_win32.h"
#include "plugin/parameter_lint.h"
#include "support/check_error.h"
#include "support/com_text_win32.h"
#include "support/debug_trace_win32.h"
#include "support/module_win32.h"
#include "support/system_text_win32.h"
#include "support/text.h"
#include "support/unique_any_win32.h"
#include "support/variant_text_win32.h"
#include "support/version.h"

namespace quarnel {
namespace {

constexpr wchar_t kProgId[] = L"comQuarnel.quarnelcom";
constexpr int kPassed = 0;
constexpr int kStatusFalse = 1;  // also: lint found something, configure closed without OK
constexpr int kFailed = 2;
constexpr long kDefaultTimeoutSeconds = 60;
// Large enough for any host's time-out, small enough for the watchdog's clock.
constexpr long kLargestTimeoutSeconds = 24L * 60 * 60;

// What each command takes, for the parser and for its help.
struct CommandHelp {
  const wchar_t* name;
  std::vector<std::wstring> options;  // the options without a value come first
  size_t flagCount;                   // how many of them take no value
  enum { None, Optional, Required } parameterString;
  std::vector<std::wstring> text;  // the help: usage line first
};

const CommandHelp kCheck{
    L"check",
    {L"--plugin", L"--trace", L"--timeout", L"-t", L"--host", L"-w", L"--warning", L"-c", L"--critical"},
    2,
    CommandHelp::Required,
    {L"usage: quarnel-host check [--plugin [-w RANGE] [-c RANGE]] [--trace] [--timeout N] [--host NAME] [--] PARAMETER-STRING",
     L"Runs one check and prints \"status: True\" or \"status: False\" and \"result: \" with the",
     L"result text. First, each thing that the parameter string asks for although it is almost",
     L"surely a mistake gets a \"warning:\" line on standard error (with --plugin: nothing on",
     L"standard error); the check runs the same.",
     L"  --plugin     report as a Monitoring Plugins program: one line \"QUARNEL OK - ...\",",
     L"               \"QUARNEL WARNING - ...\", \"QUARNEL CRITICAL - ...\" or \"QUARNEL UNKNOWN - ...\"",
     L"               with performance data",
     L"  -w, --warning RANGE   with --plugin: WARNING when the size (in UNIT, as the result",
     L"  -c, --critical RANGE  shows it) or the age (in whole UNITs) alerts against RANGE,",
     L"               CRITICAL for --critical; ranges [@][start:][end] as Monitoring Plugins",
     L"               write them. With either, the parameter string's comparison decides nothing",
     L"  --trace      show the check's debugger trace lines after its result; for a check that",
     L"               found nothing, also the path it searched and the system's answer",
     L"  -t, --timeout N  put N into sa_timeout and end the check after N seconds (1 to 86400; 60)",
     L"  --host NAME  put NAME into sa_hostname (this computer's name by default)",
     L"  -V, --version    print the version;  -h, --help  this text",
     L"  --           end of the options, for a parameter string that begins with \"-\"",
     L"Options that do not go together: --plugin and --trace; -w and -c without --plugin.",
     L"Each option is taken once. With --plugin, every failure, a usage error included, is one",
     L"\"QUARNEL UNKNOWN - ...\" line on the standard output.",
     L"exit codes: 0 the check passed, 1 its status is False, 2 a usage error, a failed call",
     L"or a check that did not return in time; with --plugin: 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN"}};

const CommandHelp kLint{
    L"lint",
    {},
    0,
    CommandHelp::Required,
    {L"usage: quarnel-host lint [--] PARAMETER-STRING",
     L"Prints a \"warning:\" line for each thing that the parameter string asks for although it",
     L"is almost surely a mistake, and runs no check.",
     L"exit codes: 0 no warning, 1 warnings, 2 a usage error"}};

const CommandHelp kConfigure{
    L"configure",
    {L"--timeout", L"-t", L"--host"},
    0,
    CommandHelp::Optional,
    {L"usage: quarnel-host configure [--timeout N] [--host NAME] [--] [PARAMETER-STRING]",
     L"Shows the plug-in's configuration dialog, filled from the parameter string (without",
     L"one: the path \\\\NAME\\), and after OK prints \"parameter: \" and the new parameter string.",
     L"Needs a display: under Wine, DISPLAY must name an X display.",
     L"  -t, --timeout N  put N into sa_timeout, which the dialog shows (it sets no time limit)",
     L"  --host NAME  put NAME into sa_hostname (this computer's name by default)",
     L"exit codes: 0 after OK, 1 when the dialog was closed without OK, 2 a usage error,",
     L"no display or a failed call"}};

const CommandHelp kTrace{
    L"trace",
    {},
    0,
    CommandHelp::None,
    {L"usage: quarnel-host trace PROGRAM [ARGS...]",
     L"Runs the program and prints each line that it sends to the debugger output as",
     L"\"trace: LINE\". Exits with the program's exit code, 2 when it cannot be started."}};

const CommandHelp* const kCommands[] = {&kCheck, &kLint, &kConfigure, &kTrace};

const std::vector<std::wstring> kProgramHelp{
    L"usage: quarnel-host COMMAND [OPTIONS] [PARAMETER-STRING]",
    L"Stands in for the monitoring host: creates comQuarnel.quarnelcom by late binding and",
    L"drives it as the host does.",
    L"  check      run one check and print its status and result text",
    L"  lint       only name what the parameter string asks for that is almost surely a mistake",
    L"  configure  show the configuration dialog and print the new parameter string",
    L"  trace      run a program and show its debugger output",
    L"quarnel-host COMMAND --help (-h) describes a command; quarnel-host --version (-V) prints",
    L"the version."};

struct UsageError {
  std::wstring message;
  const CommandHelp* command;  // nullptr: the program as a whole
};

// A failure explained in words: a summary, then what to do about it.
struct Explained {
  std::vector<std::wstring> lines;
};

struct HostOptions {
  bool help = false;
  bool version = false;
  bool plugin = false;
  bool trace = false;
  long timeoutSeconds = kDefaultTimeoutSeconds;
  AlertLevels levels;
  std::optional<std::wstring> hostName;
  std::optional<std::wstring> parameterString;
};

// The calling thread's apartment; a thread that cannot enter one fails the call.
class ApartmentThread {
 public:
  ApartmentThread() {
    if (FAILED(apartment_.entered())) throw CallFailure{L"CoInitializeEx", apartment_.entered(), L""};
  }

 private:
  unique_apartment apartment_;
};

// The options spelt two ways, short and long; each one is named by both.
const std::pair<const wchar_t*, const wchar_t*> kTwoSpellings[] = {
    {L"-w", L"--warning"}, {L"-c", L"--critical"}, {L"-t", L"--timeout"}};

// The option's long spelling, the one the parser acts on.
std::wstring LongSpelling(const std::wstring& option) {
  for (const auto& [shortForm, longForm] : kTwoSpellings) {
    if (option == shortForm) return longForm;
  }
  return option;
}

// The option as a message names it: "-w/--warning" for either spelling.
std::wstring OptionName(const std::wstring& option) {
  const std::wstring spelling = LongSpelling(option);
  for (const auto& [shortForm, longForm] : kTwoSpellings) {
    if (spelling == longForm) return std::wstring(shortForm) + L"/" + longForm;
  }
  return spelling;
}

long ParseTimeout(const std::wstring& option, const std::wstring& text, const CommandHelp& command) {
  wchar_t* end = nullptr;
  const long seconds = std::wcstol(text.c_str(), &end, 10);
  if (text.empty() || *end != L'\0' || seconds < 1 || seconds > kLargestTimeoutSeconds) {
    throw UsageError{option + L" takes a whole number of seconds from 1 to " +
                         std::to_wstring(kLargestTimeoutSeconds) + L", not '" + text + L"'",
                     &command};
  }
  return seconds;
}

// A warning or critical range.
void ParseLevel(const std::wstring& option, const std::wstring& text, AlertLevels& levels,
                const CommandHelp& command) {
  std::optional<AlertRange>& level =
      LongSpelling(option) == L"--warning" ? levels.warning : levels.critical;
  const ParsedRange parsed = ParseAlertRange(text);
  if (!parsed.range) {
    throw UsageError{option + L" takes a range [@][start:][end]: '" + text + L"' " + parsed.problem,
                     &command};
  }
  level = parsed.range;
}

bool IsOption(const std::wstring& argument) { return argument.size() > 1 && argument[0] == L'-'; }

// Whether the option takes the argument after it as its value.
bool TakesValue(const CommandHelp& command, const std::wstring& option) {
  const auto known = std::find(command.options.begin(), command.options.end(), option);
  return known != command.options.end() &&
         static_cast<size_t>(known - command.options.begin()) >= command.flagCount;
}

// Options come first, then "--" or the parameter string, and nothing after it.
HostOptions ParseOptions(const std::vector<std::wstring>& arguments, const CommandHelp& command) {
  HostOptions options;
  size_t next = 0;
  const auto fail = [&](const std::wstring& message) { throw UsageError{message, &command}; };
  std::vector<std::wstring> given;  // by their long spelling
  for (; next < arguments.size() && IsOption(arguments[next]); ++next) {
    const std::wstring& option = arguments[next];
    if (option == L"--") {
      ++next;
      break;
    }
    if (option == L"--help" || option == L"-h") {
      options.help = true;
      return options;
    }
    if (option == L"--version" || option == L"-V") {
      options.version = true;
      return options;
    }
    if (std::find(command.options.begin(), command.options.end(), option) == command.options.end()) {
      fail(L"unknown option '" + option + L"'");
    }
    // Every option is taken once: a second one would silently win over the first.
    if (std::find(given.begin(), given.end(), LongSpelling(option)) != given.end()) {
      fail(OptionName(option) + L" is given more than once");
    }
    given.push_back(LongSpelling(option));
    if (TakesValue(command, option)) {
      if (++next == arguments.size()) fail(option + L" needs a value");
      if (LongSpelling(option) == L"--timeout") {
        options.timeoutSeconds = ParseTimeout(option, arguments[next], command);
      } else if (option == L"--host") {
        options.hostName = arguments[next];
      } else {
        ParseLevel(option, arguments[next], options.levels, command);
      }
    } else {
      (option == L"--plugin" ? options.plugin : options.trace) = true;
    }
  }
  if (options.plugin && options.trace) fail(L"--plugin and --trace do not go together");
  if ((options.levels.warning || options.levels.critical) && !options.plugin) {
    fail(L"-w and -c go only with --plugin");
  }
  if (next < arguments.size()) {
    if (!arguments[next].empty()) options.parameterString = arguments[next];
    if (++next < arguments.size()) {
      fail(IsOption(arguments[next]) ? L"options come before the parameter string, not '" +
                                           arguments[next] + L"' after it"
                                     : std::wstring(L"only one parameter string is taken"));
    }
  }
  if (command.parameterString == CommandHelp::Required && !options.parameterString) {
    fail(next > 0 && arguments[next - 1].empty() ? L"the parameter string is empty"
                                                 : L"the parameter string is missing");
  }
  return options;
}

std::wstring MachineName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  return GetComputerNameW(name, &length) ? std::wstring(name, length) : std::wstring();
}

void PutText(LateBoundObject& plugin, const std::wstring& property, const std::wstring& text) {
  plugin.Put(property, TextVariant(text).get());
}

// A property value as the output shows it; values without a text form are
// named by their kind.
std::wstring DisplayText(const VARIANT& value) {
  if (V_VT(&value) == VT_EMPTY) return L"(Empty)";
  if (V_VT(&value) == VT_NULL) return L"(Null)";
  try {
    return VariantText(value);
  } catch (const CheckError&) {
    return L"(a value of type " + std::to_wstring(V_VT(&value)) + L")";
  }
}

// The host's context, stored the way the host does.
void PutContext(LateBoundObject& plugin, const HostOptions& options) {
  unique_variant timeout;
  V_VT(&timeout.get()) = VT_I4;
  V_I4(&timeout.get()) = options.timeoutSeconds;
  plugin.Put(L"sa_timeout", timeout.get());
  PutText(plugin, L"sa_hostname", options.hostName.value_or(MachineName()));
}

void PrintLines(const std::vector<std::wstring>& lines, void (*print)(const std::wstring&)) {
  for (const std::wstring& line : lines) print(line);
}

// The result text, or nothing for an Empty sa_result.
std::optional<std::wstring> ResultText(const VARIANT& result) {
  if (V_VT(&result) == VT_EMPTY) return std::nullopt;
  return DisplayText(result);
}

// The numbers that the check which just ran measured: the object keeps
// them beside sa_result, behind an interface that no late-bound host can
// name, so that the report needs no second check and reads no number back
// from the result text.
CheckReading LastReading(LateBoundObject& plugin) {
  const com_ptr<IQuarnelReading> reader =
      plugin.Query<IQuarnelReading>(IID_IQuarnelReading, L"IQuarnelReading");
  QuarnelReading transferred{};
  const HRESULT result = reader->LastReading(&transferred);
  if (FAILED(result)) throw CallFailure{L"IQuarnelReading::LastReading", result, L""};
  return ReceivedReading(transferred);
}

void TraceNothingFound(const CheckReading& reading) {
  if (reading.finding != CheckReading::Finding::NothingFound) return;
  const std::wstring message = MessageOf(HRESULT_FROM_WIN32(reading.systemCode));
  DebugTrace(L"quarnel-host: nothing found: searched '" + reading.searchedPath +
             L"', the system answered " + std::to_wstring(reading.systemCode) +
             (message.empty() ? L"" : L" (" + message + L")"));
}

int RunLint(const HostOptions& options) {
  const std::vector<std::wstring> warnings = LintParameterString(*options.parameterString);
  for (const std::wstring& warning : warnings) PrintLine(L"warning: " + warning);
  return warnings.empty() ? kPassed : kStatusFalse;
}

int RunCheck(const HostOptions& options) {
  // A monitoring core may take the standard error for part of the report
  // (Icinga 2 does): there the report is the one line, and the lint speaks
  // only for a string that names no check.
  if (options.plugin) {
    if (const auto refusal = ReportNoCheckNamed(*options.parameterString)) {
      PrintLine(refusal->line);
      return static_cast<int>(refusal->state);
    }
  } else {
    for (const std::wstring& warning : LintParameterString(*options.parameterString)) {
      PrintErrorLine(L"warning: " + warning);
    }
  }
  const ApartmentThread apartment;
  const std::wstring lateText = L"the check did not return within its time-out of " +
                                std::to_wstring(options.timeoutSeconds) + L" s";
  const Watchdog watchdog(
      std::chrono::seconds(options.timeoutSeconds),
      [&] { options.plugin ? PrintLine(ReportFailure(lateText).line) : PrintErrorLine(L"error: " + lateText); },
      options.plugin ? static_cast<unsigned>(PluginState::Unknown) : kFailed);
  LateBoundObject plugin(kProgId);
  PutContext(plugin, options);
  PutText(plugin, L"sa_parameter", *options.parameterString);
  unique_variant status = plugin.Call(L"sa_docheck");
  unique_variant result = plugin.Get(L"sa_result");

  const bool passed = V_VT(&status.get()) == VT_BOOL && V_BOOL(&status.get()) == VARIANT_TRUE;
  if (options.plugin) {
    const PluginReport report = ReportCheck(*options.parameterString, passed, ResultText(result.get()),
                                            LastReading(plugin), options.levels);
    PrintLine(report.line);
    return static_cast<int>(report.state);
  }
  PrintLine(std::wstring(L"status: ") + (passed ? L"True" : L"False"));
  PrintLine(L"result: " + DisplayText(result.get()));
  // Run by `check --trace`: the plug-in traces nothing for a check that
  // found nothing, so this program says what was searched and what the
  // system answered, in a trace line of its own.
  if (IsDebuggerPresent()) TraceNothingFound(LastReading(plugin));
  return passed ? kPassed : kStatusFalse;
}

// Whether a window can be shown to someone: under Wine, when DISPLAY names
// an X display; on Windows, when the process has an interactive desktop.
std::optional<std::wstring> MissingDisplay() {
  if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr) {
    if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 1) return std::nullopt;
    return L"configure needs a display for its dialog: set DISPLAY to an X display "
           L"(for example DISPLAY=:0)";
  }
  USEROBJECTFLAGS flags{};
  if (GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                nullptr) &&
      (flags.dwFlags & WSF_VISIBLE) == 0) {
    return L"configure needs an interactive desktop for its dialog, and this process runs "
           L"without one (as a service, or in a session nobody sees)";
  }
  return std::nullopt;
}

// OK always writes a parameter string of the dialog's own composition, which
// begins "#FILE=". The given string goes in behind this mark, so that one
// that is still there afterwards shows that the dialog was closed without
// OK. Every reader of the string skips the mark: it is no entry, and it
// makes no key of any text that follows it.
constexpr wchar_t kUnconfirmedMark[] = L"#~";

int RunConfigure(const HostOptions& options) {
  if (const auto missing = MissingDisplay()) throw Explained{{*missing}};
  const ApartmentThread apartment;
  LateBoundObject plugin(kProgId);
  PutContext(plugin, options);
  // Without a parameter string, sa_parameter stays Empty, as the host leaves
  // it for a new check.
  if (options.parameterString) {
    PutText(plugin, L"sa_parameter", kUnconfirmedMark + *options.parameterString);
  }
  plugin.Call(L"sa_showGUI");
  unique_variant parameterString = plugin.Get(L"sa_parameter");
  const bool confirmed = V_VT(&parameterString.get()) == VT_BSTR &&
                         !StartsWith(VariantText(parameterString.get()), kUnconfirmedMark);
  if (!confirmed) {
    PrintErrorLine(L"the dialog was closed without OK: the parameter string stays as it was");
    return kStatusFalse;
  }
  PrintLine(L"parameter: " + DisplayText(parameterString.get()));
  return kPassed;
}

void PrintTraceLine(const std::wstring& line) { PrintLine(L"trace: " + line); }

// The check runs in a second instance of this program, as its debuggee; its
// trace lines are shown after its own status and result.
int RunTracedCheck(const HostOptions& options) {
  std::vector<std::wstring> child{ModuleFilePath(nullptr), L"check", L"--timeout",
                                  std::to_wstring(options.timeoutSeconds)};
  if (options.hostName) child.insert(child.end(), {L"--host", *options.hostName});
  child.insert(child.end(), {L"--", *options.parameterString});
  std::vector<std::wstring> traceLines;
  const unsigned long exitCode =
      RunUnderDebugger(child, [&](const std::wstring& line) { traceLines.push_back(line); });
  for (const std::wstring& line : traceLines) PrintTraceLine(line);
  return static_cast<int>(exitCode);
}

int RunTrace(const std::vector<std::wstring>& program) {
  if (program.empty()) throw UsageError{L"trace needs a program to run", &kTrace};
  if (program.front() == L"--help" || program.front() == L"-h") {
    PrintLines(kTrace.text, PrintLine);
    return kPassed;
  }
  return static_cast<int>(RunUnderDebugger(program, PrintTraceLine));
}

void PrintVersion() { PrintLine(L"comquarnel " QUARNEL_VERSION_TEXT); }

const CommandHelp* FindCommand(const std::wstring& name) {
  for (const CommandHelp* command : kCommands) {
    if (name == command->name) return command;
  }
  return nullptr;
}

int Run(const std::vector<std::wstring>& arguments) {
  if (arguments.empty()) throw UsageError{L"no command given", nullptr};
  const std::wstring& name = arguments.front();
  const bool alone = arguments.size() == 1;
  if ((name == L"--help" || name == L"-h" || name == L"--version" || name == L"-V") && !alone) {
    throw UsageError{name + L" takes no arguments", nullptr};
  }
  if (name == L"--help" || name == L"-h") {
    PrintLines(kProgramHelp, PrintLine);
    return kPassed;
  }
  if (name == L"--version" || name == L"-V") {
    PrintVersion();
    return kPassed;
  }
  const CommandHelp* command = FindCommand(name);
  if (command == nullptr) throw UsageError{L"unknown command '" + name + L"'", nullptr};
  const std::vector<std::wstring> rest(arguments.begin() + 1, arguments.end());
  if (command == &kTrace) return RunTrace(rest);
  const HostOptions options = ParseOptions(rest, *command);
  if (options.help) {
    PrintLines(command->text, PrintLine);
    return kPassed;
  }
  if (options.version) {
    PrintVersion();
    return kPassed;
  }
  if (command == &kLint) return RunLint(options);
  if (command == &kConfigure) return RunConfigure(options);
  return options.trace ? RunTracedCheck(options) : RunCheck(options);
}

// Whether the command line asks for the Monitoring Plugins report: then
// every failure, a usage error included, is reported that way too.
bool PluginModeAsked(const std::vector<std::wstring>& arguments) {
  if (arguments.empty() || arguments.front() != kCheck.name) return false;
  for (size_t i = 1; i < arguments.size() && IsOption(arguments[i]) && arguments[i] != L"--"; ++i) {
    if (arguments[i] == L"--plugin") return true;
    if (TakesValue(kCheck, arguments[i])) ++i;
  }
  return false;
}

std::wstring HexOf(HRESULT result) {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(result));
  return text;
}

std::wstring CodeAndMessage(HRESULT result) {
  const std::wstring message = MessageOf(result);
  return message.empty() ? HexOf(result) : HexOf(result) + L" " + message;
}

std::wstring DirectoryOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\') + 1); }

// The plug-in's DLL beside this program or where the build puts it, in a
// folder of any length; a placeholder when it is in neither place.
std::wstring PluginDllPath() {
  const std::wstring directory = DirectoryOf(ModuleFilePath(nullptr));
  SystemFullPaths fullPaths;
  for (const wchar_t* relative : {L"comquarnel.dll", L"..\\plugin\\comquarnel.dll"}) {
    const std::optional<std::wstring> full = fullPaths.FullPathOf(directory + relative);
    if (!full) continue;
    // Looked at in the form that reaches past MAX_PATH; named as it reads.
    const SystemPath systemPath = SystemPathFor(*full, fullPaths);
    if (systemPath.refusal == 0 && GetFileAttributesW(systemPath.path.c_str()) != INVALID_FILE_ATTRIBUTES) {
      return *full;
    }
  }
  return L"C:\\path\\to\\comquarnel.dll";
}

// The regsvr32 of the host's own bitness, which registers the DLL in the
// registry view that the host reads: the 32-bit one is in SysWOW64 on
// 64-bit Windows and in System32 on 32-bit Windows, the 64-bit one in System32.
#ifdef _WIN64
constexpr wchar_t kRegsvr32Bitness[] = L"64-bit";
#else
constexpr wchar_t kRegsvr32Bitness[] = L"32-bit";
#endif
std::wstring Regsvr32Path() {
  std::optional<std::wstring> directory;
#ifndef _WIN64
  directory = SystemText(
      [](wchar_t* buffer, UINT size) { return GetSystemWow64DirectoryW(buffer, size); });
#endif
  if (!directory) {
    directory = SystemText([](wchar_t* buffer, UINT size) { return GetSystemDirectoryW(buffer, size); });
  }
  return directory.value_or(L"") + L"\\regsvr32.exe";
}

Explained ExplainNotRegistered(const NotRegistered& failure) {
  return {{failure.progId + L" is not registered on this machine (" + CodeAndMessage(failure.result) +
               L")",
           L"  register the plug-in with the " + std::wstring(kRegsvr32Bitness) +
               L" regsvr32, from an elevated prompt:",
           L"  " + Regsvr32Path() + L" \"" + PluginDllPath() + L"\""}};
}

Explained ExplainCallFailure(const CallFailure& failure) {
  Explained explained{{failure.call + L" failed: " + CodeAndMessage(failure.result)}};
  if (!failure.description.empty()) explained.lines.push_back(L"description: " + failure.description);
  return explained;
}

// The failure as the output of either kind shows it.
int PrintFailure(const Explained& failure, bool plugin) {
  if (plugin) {
    std::wstring line;
    for (const std::wstring& part : failure.lines) line += (line.empty() ? L"" : L" ") + TrimSpaces(part);
    PrintLine(ReportFailure(line).line);
    return static_cast<int>(PluginState::Unknown);
  }
  PrintErrorLine(L"error: " + failure.lines.front());
  for (size_t i = 1; i < failure.lines.size(); ++i) PrintErrorLine(failure.lines[i]);
  return kFailed;
}

int ReportUsageError(const UsageError& failure, bool plugin) {
  if (plugin) {
    PrintLine(ReportFailure(L"usage error: " + failure.message).line);
    return static_cast<int>(PluginState::Unknown);
  }
  PrintErrorLine(L"error: " + failure.message);
  PrintErrorLine(failure.command ? failure.command->text.front() : kProgramHelp.front());
  PrintErrorLine(std::wstring(L"quarnel-host ") + (failure.command ? failure.command->name : L"") +
                 (failure.command ? L" " : L"") + L"--help tells more");
  return kFailed;
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
  PrintLine(ReportFailure(L"the check crashed with exception " +
                          HexOf(static_cast<HRESULT>(exception->ExceptionRecord->ExceptionCode)))
                .line);
  ExitProcess(static_cast<UINT>(PluginState::Unknown));
}

}  // namespace
}  // namespace quarnel

int wmain(int argc, wchar_t** argv) {
  using namespace quarnel;
  SetConsoleOutputCP(CP_UTF8);
  const std::vector<std::wstring> arguments(argv + 1, argv + argc);
  const bool plugin = PluginModeAsked(arguments);
  // A monitoring core needs its one line also when the check crashes.
  if (plugin) SetUnhandledExceptionFilter(ReportCrash);
  try {
    return Run(arguments);
  } catch (const UsageError& failure) {
    return ReportUsageError(failure, plugin);
  } catch (const Explained& failure) {
    return PrintFailure(failure, plugin);
  } catch (const NotRegistered& failure) {
    return PrintFailure(ExplainNotRegistered(failure), plugin);
  } catch (const CallFailure& failure) {
    return PrintFailure(ExplainCallFailure(failure), plugin);
  } catch (const StartFailure& failure) {
    return PrintFailure(
        {{L"cannot run " + failure.commandLine + L": " + MessageOf(HRESULT_FROM_WIN32(failure.error))}},
        plugin);
  } catch (const std::exception& failure) {
    return PrintFailure(
        {{std::wstring(failure.what(), failure.what() + std::strlen(failure.what()))}}, plugin);
  } catch (...) {
    return PrintFailure({{L"an unexpected failure"}}, plugin);
  }
}

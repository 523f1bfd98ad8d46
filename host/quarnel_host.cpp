// quarnel-host: stands in for the monitoring host. It drives the plug-in the
// way the host does, by late binding on an apartment thread, and shows the
// plug-in's trace lines.
//
//   quarnel-host check [--trace] [--timeout N] [--host NAME] PARAMETER-STRING
//   quarnel-host configure [--timeout N] [--host NAME] [PARAMETER-STRING]
//   quarnel-host trace PROGRAM [ARGS...]
//
// check exits 0 when the check passed, 1 when its status is false and 2 when
// a call failed or did not return in time; trace exits with the program's
// exit code.

#include <windows.h>
#include <objbase.h>

#include <chrono>
#include <cstring>
#include <cwchar>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "host/console_output.h"
#include "host/debug_viewer.h"
#include "host/late_binding.h"
#include "host/watchdog.h"
#include "support/check_error.h"
#include "support/unique_any_win32.h"
#include "support/variant_text_win32.h"

namespace quarnel {
namespace {

constexpr wchar_t kProgId[] = L"comQuarnel.quarnelcom";
constexpr int kPassed = 0;
constexpr int kStatusFalse = 1;
constexpr int kFailed = 2;
constexpr long kDefaultTimeoutSeconds = 60;
// Large enough for any host's time-out, small enough for the watchdog's clock.
constexpr long kLargestTimeoutSeconds = 24L * 60 * 60;

struct UsageError {
  std::wstring message;
};

struct HostOptions {
  bool trace = false;
  long timeoutSeconds = kDefaultTimeoutSeconds;
  std::optional<std::wstring> hostName;
  std::optional<std::wstring> parameterString;
};

class ApartmentThread {
 public:
  ApartmentThread() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {
    if (FAILED(result_)) throw CallFailure{L"CoInitializeEx", result_, L""};
  }
  ~ApartmentThread() { CoUninitialize(); }
  ApartmentThread(const ApartmentThread&) = delete;
  ApartmentThread& operator=(const ApartmentThread&) = delete;

 private:
  HRESULT result_;
};

long ParseTimeout(const std::wstring& text) {
  wchar_t* end = nullptr;
  const long seconds = std::wcstol(text.c_str(), &end, 10);
  if (text.empty() || *end != L'\0' || seconds < 1 || seconds > kLargestTimeoutSeconds) {
    throw UsageError{L"--timeout takes a whole number of seconds from 1 to " +
                     std::to_wstring(kLargestTimeoutSeconds) + L", not '" + text + L"'"};
  }
  return seconds;
}

// Options come first; what follows them is the parameter string.
HostOptions ParseOptions(const std::vector<std::wstring>& arguments, bool traceAllowed,
                         bool parameterStringRequired) {
  HostOptions options;
  size_t next = 0;
  auto valueOf = [&](const std::wstring& option) {
    if (next + 1 >= arguments.size()) throw UsageError{option + L" needs a value"};
    next += 2;
    return arguments[next - 1];
  };
  while (next < arguments.size()) {
    const std::wstring& argument = arguments[next];
    if (argument == L"--trace" && traceAllowed) {
      options.trace = true;
      ++next;
    } else if (argument == L"--timeout") {
      options.timeoutSeconds = ParseTimeout(valueOf(argument));
    } else if (argument == L"--host") {
      options.hostName = valueOf(argument);
    } else {
      break;
    }
  }
  const size_t left = arguments.size() - next;
  if (left > 1) throw UsageError{L"only one parameter string is taken"};
  if (left == 1) options.parameterString = arguments[next];
  if (parameterStringRequired && !options.parameterString) {
    throw UsageError{L"the parameter string is missing"};
  }
  return options;
}

std::wstring MachineName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  return GetComputerNameW(name, &length) ? std::wstring(name, length) : std::wstring();
}

void PutText(LateBoundObject& plugin, const std::wstring& property, const std::wstring& text) {
  unique_variant value;
  V_BSTR(&value.get()) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (V_BSTR(&value.get()) == nullptr) throw std::bad_alloc();
  V_VT(&value.get()) = VT_BSTR;
  plugin.Put(property, value.get());
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

// The host's context and the configuration, stored the way the host does.
void PutProperties(LateBoundObject& plugin, const HostOptions& options) {
  unique_variant timeout;
  V_VT(&timeout.get()) = VT_I4;
  V_I4(&timeout.get()) = options.timeoutSeconds;
  plugin.Put(L"sa_timeout", timeout.get());
  PutText(plugin, L"sa_hostname", options.hostName.value_or(MachineName()));
  if (options.parameterString) PutText(plugin, L"sa_parameter", *options.parameterString);
}

int RunCheck(const HostOptions& options) {
  const ApartmentThread apartment;
  const Watchdog watchdog(std::chrono::seconds(options.timeoutSeconds),
                          L"error: the check did not return within its time-out of " +
                              std::to_wstring(options.timeoutSeconds) + L" s");
  LateBoundObject plugin(kProgId);
  PutProperties(plugin, options);
  unique_variant status;
  *status.put() = plugin.Call(L"sa_docheck");
  unique_variant result;
  *result.put() = plugin.Get(L"sa_result");

  const bool passed = V_VT(&status.get()) == VT_BOOL && V_BOOL(&status.get()) == VARIANT_TRUE;
  PrintLine(std::wstring(L"status: ") + (passed ? L"True" : L"False"));
  PrintLine(L"result: " + DisplayText(result.get()));
  return passed ? kPassed : kStatusFalse;
}

int RunConfigure(const HostOptions& options) {
  const ApartmentThread apartment;
  LateBoundObject plugin(kProgId);
  PutProperties(plugin, options);
  unique_variant ignored;
  *ignored.put() = plugin.Call(L"sa_showGUI");
  unique_variant parameterString;
  *parameterString.put() = plugin.Get(L"sa_parameter");
  PrintLine(L"parameter: " + DisplayText(parameterString.get()));
  return kPassed;
}

std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

void PrintTraceLine(const std::wstring& line) { PrintLine(L"trace: " + line); }

// The check runs in a second instance of this program, as its debuggee; its
// trace lines are shown after its own status and result.
int RunTracedCheck(const HostOptions& options) {
  std::vector<std::wstring> child{OwnPath(), L"check", L"--timeout",
                                  std::to_wstring(options.timeoutSeconds)};
  if (options.hostName) child.insert(child.end(), {L"--host", *options.hostName});
  child.push_back(*options.parameterString);
  std::vector<std::wstring> traceLines;
  const unsigned long exitCode =
      RunUnderDebugger(child, [&](const std::wstring& line) { traceLines.push_back(line); });
  for (const std::wstring& line : traceLines) PrintTraceLine(line);
  return static_cast<int>(exitCode);
}

int RunTrace(const std::vector<std::wstring>& program) {
  if (program.empty()) throw UsageError{L"trace needs a program to run"};
  return static_cast<int>(RunUnderDebugger(program, PrintTraceLine));
}

void PrintUsage() {
  PrintErrorLine(L"usage: quarnel-host check [--trace] [--timeout N] [--host NAME] PARAMETER-STRING");
  PrintErrorLine(L"       quarnel-host configure [--timeout N] [--host NAME] [PARAMETER-STRING]");
  PrintErrorLine(L"       quarnel-host trace PROGRAM [ARGS...]");
}

int Run(const std::vector<std::wstring>& arguments) {
  if (arguments.empty()) throw UsageError{L"no command given"};
  const std::wstring& command = arguments.front();
  const std::vector<std::wstring> rest(arguments.begin() + 1, arguments.end());
  if (command == L"check") {
    const HostOptions options = ParseOptions(rest, true, true);
    return options.trace ? RunTracedCheck(options) : RunCheck(options);
  }
  if (command == L"configure") return RunConfigure(ParseOptions(rest, false, false));
  if (command == L"trace") return RunTrace(rest);
  throw UsageError{L"unknown command '" + command + L"'"};
}

std::wstring HexOf(HRESULT result) {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(result));
  return text;
}

}  // namespace
}  // namespace quarnel

int wmain(int argc, wchar_t** argv) {
  using namespace quarnel;
  SetConsoleOutputCP(CP_UTF8);
  try {
    return Run(std::vector<std::wstring>(argv + 1, argv + argc));
  } catch (const UsageError& failure) {
    PrintErrorLine(L"error: " + failure.message);
    PrintUsage();
  } catch (const CallFailure& failure) {
    PrintErrorLine(L"error: " + failure.call + L" failed: " + HexOf(failure.result) + L" " +
                   MessageOf(failure.result));
    if (!failure.description.empty()) PrintErrorLine(L"description: " + failure.description);
  } catch (const StartFailure& failure) {
    PrintErrorLine(L"error: cannot run " + failure.commandLine + L": " +
                   MessageOf(HRESULT_FROM_WIN32(failure.error)));
  } catch (const std::exception& failure) {
    PrintErrorLine(L"error: " + std::wstring(failure.what(), failure.what() + std::strlen(failure.what())));
  }
  return kFailed;
}

#include "host/debug_viewer.h"

#include "support/windows_win32.h"

#include "support/codepage.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count as escapes only before a quote.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    quoted += c;
    backslashes = 0;
  }
  // Before the closing quote every backslash has to be doubled.
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

std::wstring ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
  const size_t length = info.nDebugStringLength;
  if (info.fUnicode) {
    std::wstring text(length, L'\0');
    SIZE_T read = 0;
    ReadProcessMemory(process, info.lpDebugStringData, text.data(), length * sizeof(wchar_t), &read);
    text.resize(read / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
  }
  std::string bytes(length, '\0');
  SIZE_T read = 0;
  ReadProcessMemory(process, info.lpDebugStringData, bytes.data(), length, &read);
  bytes.resize(read);
  return FromAnsi(bytes.substr(0, bytes.find('\0')));
}

// The standard handles are passed on explicitly, so that the program writes
// where this process writes, whether that is a console or a pipe.
STARTUPINFOW StartupWithOwnStandardHandles() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  for (HANDLE standard : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
    SetHandleInformation(standard, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  return startup;
}

}  // namespace

std::wstring JoinCommandLine(const std::vector<std::wstring>& arguments) {
  std::wstring line;
  for (const std::wstring& argument : arguments) {
    if (!line.empty()) line += L' ';
    line += QuoteArgument(argument);
  }
  return line;
}

std::vector<std::wstring> TraceLinesOf(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(L'\n', start);
    std::wstring line = text.substr(start, end == std::wstring::npos ? end : end - start);
    if (end != std::wstring::npos && !line.empty() && line.back() == L'\r') line.pop_back();
    if (end == std::wstring::npos) {
      if (!line.empty() || lines.empty()) lines.push_back(line);
      return lines;
    }
    lines.push_back(line);
    start = end + 1;
  }
}

unsigned long RunUnderDebugger(const std::vector<std::wstring>& arguments,
                               const std::function<void(const std::wstring&)>& traceLine) {
  std::wstring commandLine = JoinCommandLine(arguments);
  STARTUPINFOW startup = StartupWithOwnStandardHandles();
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, DEBUG_ONLY_THIS_PROCESS,
                      nullptr, nullptr, &startup, &started)) {
    throw StartFailure{commandLine, GetLastError()};
  }
  const unique_handle process(started.hProcess);
  const unique_handle thread(started.hThread);

  for (;;) {
    DEBUG_EVENT event;
    if (!WaitForDebugEvent(&event, INFINITE)) throw StartFailure{commandLine, GetLastError()};
    DWORD continueStatus = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT: {
        // The image file handles are the debugger's to close.
        const unique_handle image(event.u.CreateProcessInfo.hFile);
        break;
      }
      case LOAD_DLL_DEBUG_EVENT: {
        const unique_handle image(event.u.LoadDll.hFile);
        break;
      }
      case OUTPUT_DEBUG_STRING_EVENT: {
        const std::wstring text = ReadDebugString(process.get(), event.u.DebugString);
        for (const std::wstring& line : TraceLinesOf(text)) traceLine(line);
        break;
      }
      case EXCEPTION_DEBUG_EVENT:
        // The loader's breakpoint is ours to pass; every other exception is
        // the program's own to handle.
        if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
          continueStatus = DBG_EXCEPTION_NOT_HANDLED;
        }
        break;
      case EXIT_PROCESS_DEBUG_EVENT:
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
        return event.u.ExitProcess.dwExitCode;
      default:
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
  }
}

}  // namespace quarnel

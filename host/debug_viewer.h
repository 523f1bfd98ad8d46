#pragma once
// The trace viewer: runs a program as its debugger and hands on every text
// that the program sends to the debugger output.

#include <functional>
#include <string>
#include <vector>

namespace quarnel {

struct StartFailure {
  std::wstring commandLine;
  unsigned long error;  // GetLastError of CreateProcessW
};

// Starts the program with the given arguments (the first is the program),
// sharing this process's standard handles, and receives its debug events
// until it ends. Each line of each OutputDebugString text goes to
// `traceLine`, converted from the ANSI code page. Returns the program's exit
// code; throws StartFailure when it cannot be started.
unsigned long RunUnderDebugger(const std::vector<std::wstring>& arguments,
                               const std::function<void(const std::wstring&)>& traceLine);

// The arguments as one command line that CommandLineToArgvW and the C
// runtime split back into the same arguments.
std::wstring JoinCommandLine(const std::vector<std::wstring>& arguments);

// The lines of a debugger-output text: split at line feeds, a carriage
// return before a line feed dropped, no empty line after a final line feed.
std::vector<std::wstring> TraceLinesOf(const std::wstring& text);

}  // namespace quarnel

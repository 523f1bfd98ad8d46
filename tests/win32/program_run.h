#pragma once
// Runs a program of the build (the stand-in host, as a rule) and collects
// its standard output and its error output, for the tests that drive whole
// programs.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "build_tree.h"
#include "host/debug_viewer.h"
#include "support/unique_any_win32.h"

namespace quarnel {

struct ProgramRun {
  DWORD exitCode = 0;
  std::vector<std::string> lines;       // standard output, carriage returns dropped
  std::vector<std::string> errorLines;  // error output, the same way
};

inline std::vector<std::string> LinesOf(const std::string& output) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : output) {
    if (c == '\r') continue;
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// Everything that comes through a pipe until its last write end is closed.
inline std::string ReadToEnd(HANDLE readEnd) {
  std::string output;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    output.append(buffer, read);
  }
  return output;
}

// A pipe whose write end a started program inherits.
struct OutputPipe {
  OutputPipe() {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    EXPECT_TRUE(CreatePipe(readEnd.put(), writeEnd.put(), &inheritable, 0));
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
  }
  unique_handle readEnd;
  unique_handle writeEnd;
};

// Runs the program and collects what it writes to its standard output and
// to its error output; it starts in `directory` when one is given, else in
// this program's.
inline ProgramRun RunProgram(const std::vector<std::wstring>& arguments,
                             const std::wstring& directory = std::wstring()) {
  OutputPipe output;
  OutputPipe errors;

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output.writeEnd.get();
  startup.hStdError = errors.writeEnd.get();
  std::wstring commandLine = JoinCommandLine(arguments);
  PROCESS_INFORMATION started{};
  ProgramRun run;
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &started)) {
    ADD_FAILURE() << "cannot start the program, error " << GetLastError();
    return run;
  }
  const unique_handle process(started.hProcess);
  const unique_handle thread(started.hThread);
  // The pipes end when the program and its children close them.
  output.writeEnd.reset();
  errors.writeEnd.reset();

  std::string errorText;
  std::thread errorReader([&] { errorText = ReadToEnd(errors.readEnd.get()); });
  const std::string outputText = ReadToEnd(output.readEnd.get());
  errorReader.join();
  WaitForSingleObject(process.get(), INFINITE);
  GetExitCodeProcess(process.get(), &run.exitCode);
  run.lines = LinesOf(outputText);
  run.errorLines = LinesOf(errorText);
  return run;
}

}  // namespace quarnel

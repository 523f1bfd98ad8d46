#pragma once
// Whole checks as the monitoring host runs them: quarnel-host.exe against
// the registered DLL, with the trace lines that the host's debugger read.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_run.h"
#include "system_message.h"

namespace quarnel {

inline std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

// "quarnel-host check --trace PARAMETERS", started in `directory` when one
// is given. Its lines: "status: ...", "result: ...", then "trace: ..." lines.
inline ProgramRun RunHostCheck(const std::wstring& parameters,
                               const std::wstring& directory = std::wstring()) {
  return RunProgram({HostPath(), L"check", L"--trace", parameters}, directory);
}

inline std::vector<std::string> TraceLines(const ProgramRun& run) {
  std::vector<std::string> traces;
  for (const auto& line : run.lines)
    if (line.rfind("trace: ", 0) == 0) traces.push_back(line.substr(7));
  return traces;
}

// The result of a check that could not look: "ERR:", the system's message,
// " (", the code, ")".
inline std::string CouldNotLookResult(DWORD code) {
  return "ERR:" + Utf8(SystemMessageLine(code)) + " (" + std::to_string(code) + ")";
}

// Expects the host's lines of a failed check with this result text, the
// closing trace lines included.
inline void ExpectFailedCheck(const ProgramRun& run, const std::string& result) {
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[0], "status: False");
  EXPECT_EQ(run.lines[1], "result: " + result);
  EXPECT_EQ(run.exitCode, 1u);
  const std::vector<std::string> traces = TraceLines(run);
  ASSERT_GE(traces.size(), 2u);
  EXPECT_EQ(traces.end()[-2], "COM CHECK: RES: " + result);
  EXPECT_EQ(traces.back().rfind("COM CHECK: OUT: ", 0), 0u);
}

}  // namespace quarnel

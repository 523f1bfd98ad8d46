// quarnel-host as the monitoring host's stand-in: its check command against
// the registered plug-in, its trace viewer, and its command line handling.

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/debug_viewer.h"
#include "program_run.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

std::wstring SamplePath() { return ProgramDirectory() + L"trace_sample.exe"; }

TEST(QuarnelHost, TracedCheckPrintsStatusAndResultThenTheTraceLines) {
  const ProgramRun run = RunProgram({HostPath(), L"check", L"--trace", L"#WHT=SIZE#"});
  // No file is named: the check cannot pass.
  EXPECT_EQ(run.exitCode, 1u);
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[0], "status: False");
  EXPECT_EQ(run.lines[1].rfind("result: ", 0), 0u) << run.lines[1];
  EXPECT_GT(run.lines[1].size(), std::string("result: ").size());
  for (size_t i = 2; i < run.lines.size(); ++i) {
    EXPECT_EQ(run.lines[i].rfind("trace: ", 0), 0u) << "line " << i << ": " << run.lines[i];
  }
}

TEST(QuarnelHost, TraceViewerShowsEachDebugStringAndPassesTheProgramOn) {
  const ProgramRun run = RunProgram({HostPath(), L"trace", SamplePath()});
  EXPECT_EQ(run.exitCode, 3u);
  const std::vector<std::string> expected{"trace: a", "trace: b c", "own output"};
  EXPECT_EQ(run.lines, expected);
}

TEST(QuarnelHost, TraceViewerPrintsAnsiTextAsUtf8) {
  wchar_t accented[] = L"caf\u00e9";
  char ansi[8] = {};
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_ACP, 0, accented, -1, ansi, sizeof ansi, nullptr, &lossy);
  if (lossy) GTEST_SKIP() << "the ANSI code page has no e-acute";

  const ProgramRun run = RunProgram({HostPath(), L"trace", SamplePath(), L"accented"});
  ASSERT_FALSE(run.lines.empty());
  EXPECT_EQ(run.lines[0], "trace: caf\xC3\xA9");
}

TEST(QuarnelHost, RefusesAWrongCommandLineWithExitCode2) {
  const std::vector<std::vector<std::wstring>> wrongCommandLines{
      {HostPath()},
      {HostPath(), L"inspect"},
      {HostPath(), L"check"},
      {HostPath(), L"check", L"--timeout", L"soon", L"#WHT=SIZE#"},
      {HostPath(), L"check", L"--timeout", L"0", L"#WHT=SIZE#"},
      {HostPath(), L"check", L"--host"},
      {HostPath(), L"check", L"#WHT=SIZE#", L"#WHT=CDATE#"},
      {HostPath(), L"trace"},
  };
  for (const auto& arguments : wrongCommandLines) {
    const ProgramRun run = RunProgram(arguments);
    EXPECT_EQ(run.exitCode, 2u) << JoinCommandLine(arguments).c_str();
    EXPECT_TRUE(run.lines.empty()) << "nothing but the error goes to the standard output";
  }
}

TEST(JoinCommandLine, SplitsBackIntoTheSameArguments) {
  const std::vector<std::wstring> arguments{
      L"program.exe",       L"plain",          L"",
      L"two words",         L"tab\there",      L"quote\"inside",
      L"trailing\\",        L"trailing space\\", L"\\\\server\\share\\*.log",
      L"back\\\\\"slashes", L"#FILE=C:\\Program Files\\x.log#WHT=SIZE#"};
  int count = 0;
  const std::unique_ptr<LPWSTR, HLOCAL(WINAPI*)(HLOCAL)> split(
      CommandLineToArgvW(JoinCommandLine(arguments).c_str(), &count), LocalFree);
  ASSERT_NE(split, nullptr);
  EXPECT_EQ(std::vector<std::wstring>(split.get(), split.get() + count), arguments);
}

TEST(TraceLinesOf, SplitsAtLineFeeds) {
  const struct {
    std::wstring text;
    std::vector<std::wstring> lines;
  } cases[] = {
      {L"a", {L"a"}},
      {L"", {L""}},
      {L"line\n", {L"line"}},
      {L"line\r\n", {L"line"}},
      {L"one\r\ntwo", {L"one", L"two"}},
      {L"one\n\nthree\n", {L"one", L"", L"three"}},
      {L"carriage\rreturn", {L"carriage\rreturn"}},
  };
  for (const auto& sample : cases) {
    EXPECT_EQ(TraceLinesOf(sample.text), sample.lines);
  }
}

}  // namespace
}  // namespace quarnel

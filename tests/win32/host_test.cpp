// quarnel-host as the monitoring host's stand-in: its check command against
// the registered plug-in, its Monitoring Plugins report, its lint, its
// configure command, its trace viewer, and its command line handling.

#include "support/windows_win32.h"
#include <shellapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dialog/frmmain_controls.h"
#include "host/debug_viewer.h"
#include "program_run.h"
#include "support/unique_any_win32.h"
#include "support/version.h"
#include "test_files.h"

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
  // It found nothing: the host says what was searched and what the system answered.
  EXPECT_EQ(run.lines.back().rfind("trace: quarnel-host: nothing found: searched '', the system answered ", 0), 0u)
      << run.lines.back();
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

TEST(QuarnelHost, RefusesAWrongCommandLineWithExitCode2BeforeAnythingRuns) {
  const std::wstring check = L"#WHT=SIZE#";
  const std::vector<std::vector<std::wstring>> wrongCommandLines{
      {},
      {L""},
      {L"inspect"},
      {L"check"},
      {L"check", L""},
      {L"check", L"--"},
      {L"check", L"--help!"},
      {L"check", L"--foo", check},
      {L"check", check, L"--trace"},
      {L"check", check, check},
      {L"check", L"--timeout", L"soon", check},
      {L"check", L"--timeout", L"0", check},
      {L"check", L"--host"},
      {L"check", L"-w", L"10", check},
      {L"lint"},
      {L"lint", L"--trace", check},
      {L"configure", L"--trace"},
      {L"configure", check, L"--host", L"srv"},
      {L"trace"},
      {L"--version", L"x"},
      {std::wstring(30000, L'-')},
      {L"check", std::wstring(30000, L'-'), check},
  };
  for (auto arguments : wrongCommandLines) {
    arguments.insert(arguments.begin(), HostPath());
    const ProgramRun run = RunProgram(arguments);
    const std::wstring joined = JoinCommandLine(arguments).substr(0, 200);
    const std::string shown(joined.begin(), joined.end());  // for the messages only
    EXPECT_EQ(run.exitCode, 2u) << shown;
    EXPECT_TRUE(run.lines.empty()) << "nothing but the error goes to the standard output: " << shown;
    ASSERT_FALSE(run.errorLines.empty()) << shown;
    EXPECT_EQ(run.errorLines[0].rfind("error: ", 0), 0u) << run.errorLines[0];
  }
}

TEST(QuarnelHost, GivesHelpAndItsVersionOnTheStandardOutput) {
  const std::string kCheckUsage =
      "usage: quarnel-host check [--plugin [-w RANGE] [-c RANGE]] [--trace] [--timeout N] [--host NAME] [--] "
      "PARAMETER-STRING";
  const struct {
    std::vector<std::wstring> arguments;
    std::string firstLine;
  } cases[] = {
      {{L"--help"}, "usage: quarnel-host COMMAND [OPTIONS] [PARAMETER-STRING]"},
      {{L"-h"}, "usage: quarnel-host COMMAND [OPTIONS] [PARAMETER-STRING]"},
      {{L"check", L"--help"}, kCheckUsage},
      {{L"check", L"--timeout", L"5", L"-h", L"#WHT=SIZE#"}, kCheckUsage},
      {{L"lint", L"--help"}, "usage: quarnel-host lint [--] PARAMETER-STRING"},
      {{L"configure", L"--help"}, "usage: quarnel-host configure [--timeout N] [--host NAME] [--] [PARAMETER-STRING]"},
      {{L"trace", L"--help"}, "usage: quarnel-host trace PROGRAM [ARGS...]"},
      {{L"--version"}, "comquarnel " QUARNEL_VERSION_TEXT},
      {{L"-V"}, "comquarnel " QUARNEL_VERSION_TEXT},
      {{L"check", L"--plugin", L"-V"}, "comquarnel " QUARNEL_VERSION_TEXT},
      {{L"check", L"--plugin", L"-t", L"5", L"-h"}, kCheckUsage},
  };
  for (auto c : cases) {
    c.arguments.insert(c.arguments.begin(), HostPath());
    const ProgramRun run = RunProgram(c.arguments);
    EXPECT_EQ(run.exitCode, 0u) << JoinCommandLine(c.arguments).c_str();
    ASSERT_FALSE(run.lines.empty()) << JoinCommandLine(c.arguments).c_str();
    EXPECT_EQ(run.lines[0], c.firstLine);
    EXPECT_TRUE(run.errorLines.empty());
  }
}

// The lint names what it finds, on the standard output for lint and on the
// error output before a check, which then runs as it would without it.
TEST(QuarnelHost, LintsTheParameterStringAndTheCheckRunsTheSame) {
  const std::wstring mistaken = L"#FILES=C:\\x#CMP=GT#UNIT=B#";
  const std::vector<std::string> warnings{
      "warning: unknown key 'FILES', which nothing reads (FILE?)",
      "warning: there is no FILE key: the check has no path to look at"};

  ProgramRun run = RunProgram({HostPath(), L"lint", mistaken});
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.lines, warnings);
  run = RunProgram({HostPath(), L"lint", L"--", L"#FILE=C:\\x#CMP=GT#UNIT=B#"});
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(run.lines.empty());

  run = RunProgram({HostPath(), L"check", mistaken});
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.errorLines, warnings);
  const std::vector<std::string> outcome{"status: False", "result: ERR: No matching files"};
  EXPECT_EQ(run.lines, outcome);
}

// One check of each outcome through the real plug-in: the state as the
// first word and as the exit code, and the performance data.
TEST(QuarnelHost, ReportsAsAMonitoringPluginsProgram) {
  const TestDirectory files(L"plugin-mode");
  files.MakeFile(L"a.log", 1000);
  files.MakeFile(L"b.log", 536);
  std::string directory(files.path().begin(), files.path().end());  // ASCII
  const std::wstring pattern = files.PathOf(L"*.log");
  const struct {
    std::wstring parameterString;
    DWORD exitCode;
    std::string line;
    std::vector<std::wstring> levels = {};
  } cases[] = {
      {L"#FILE=" + pattern + L"#CMP=GT#VAL=2#UNIT=KB#", 0,
       "QUARNEL OK - Size of " + directory + "\\*.log is 1.5 KB | 'size'=1536B;;~:2099;0"},
      {L"#FILE=" + pattern + L"#CMP=GT#VAL=2#UNIT=KB#", 0,
       "QUARNEL OK - Size of " + directory + "\\*.log is 1.5 KB | 'size'=1536B;;~:2099;0", {L"-t", L"30"}},
      {L"#FILE=" + pattern + L"#CMP=LT#VAL=2000#UNIT=B#", 2,
       "QUARNEL CRITICAL - Size of " + directory + "\\*.log is 1536 B | 'size'=1536B;;2000:;0"},
      {L"#FILE=" + files.PathOf(L"a.log") + L"#WHT=WDATE#CMP=LT#VAL=5#UNIT=D#", 2,
       // The age's edge in seconds counts from midnight: the line up to there.
       "QUARNEL CRITICAL - " + directory + "\\a.log was written 0 days ago | 'age'="},
      {L"#FILE=" + pattern + L"#WHT=COUNT#CMP=GT#VAL=5#", 0,
       "QUARNEL OK - Number of files matching " + directory + "\\*.log is 2 | 'count'=2;;~:5;0"},
      {L"#FILE=" + files.PathOf(L"*.txt") + L"#CMP=GT#UNIT=B#", 2,
       "QUARNEL CRITICAL - ERR: No matching files"},
      {L"#FILE=" + files.PathOf(L"*.txt") + L"#CMP=GT#UNIT=B#FNF=T#", 0,
       "QUARNEL OK - No matching files"},
      {L"#FILE=" + files.PathOf(L"*.txt") + L"#WHT=OLDWRITE#CMP=GT#UNIT=D#", 3,
       "QUARNEL UNKNOWN - (no result text: the check measured nothing)"},
      {L"#FILE=" + files.PathOf(L"a.log") + L"#CMP=GT#UNIT=B#VAL=1e999#", 3, "QUARNEL UNKNOWN - ERR: "},
      {L"#FILE=#", 3, "QUARNEL UNKNOWN - FILE is empty: the check has no path to look at"},
      // With ranges, they decide: 1.5 KB is above -w 1 and inside -c 2.
      {L"#FILE=" + pattern + L"#CMP=GT#VAL=2#UNIT=KB#", 1,
       "QUARNEL WARNING - Size of " + directory + "\\*.log is 1.5 KB | 'size'=1536B;1075;2099;0",
       {L"-w", L"1", L"--critical", L"2"}},
  };
  for (const auto& c : cases) {
    std::vector<std::wstring> arguments{HostPath(), L"check", L"--plugin"};
    arguments.insert(arguments.end(), c.levels.begin(), c.levels.end());
    arguments.push_back(c.parameterString);
    const ProgramRun run = RunProgram(arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << testing::PrintToString(c.line);
    ASSERT_EQ(run.lines.size(), 1u) << testing::PrintToString(c.line);
    if (c.line.back() == ' ' || c.line.back() == '=') {
      EXPECT_EQ(run.lines[0].rfind(c.line, 0), 0u) << run.lines[0];
      if (c.exitCode == 3) {
        EXPECT_EQ(run.lines[0].find(" | "), std::string::npos) << run.lines[0];
      }
    } else {
      EXPECT_EQ(run.lines[0], c.line);
    }
  }

  // A usage error is UNKNOWN too, on the standard output where the agent looks.
  const struct {
    std::vector<std::wstring> arguments;
    std::string line;
  } refusals[] = {
      {{L"--timeout", L"x", L"#X#"},
       "QUARNEL UNKNOWN - usage error: --timeout takes a whole number of seconds from 1 to 86400, not 'x'"},
      {{L"--trace", L"#X#"}, "QUARNEL UNKNOWN - usage error: --plugin and --trace do not go together"},
      {{L""}, "QUARNEL UNKNOWN - usage error: the parameter string is empty"},
      {{L"#X#", L"--host"},
       "QUARNEL UNKNOWN - usage error: options come before the parameter string, not '--host' after it"},
      {{L"-w"}, "QUARNEL UNKNOWN - usage error: -w needs a value"},
      {{L"-w", L"abc", L"#X#"},
       "QUARNEL UNKNOWN - usage error: -w takes a range [@][start:][end]: 'abc' has no number as its end"},
      {{L"-w", L"10:5", L"#X#"},
       "QUARNEL UNKNOWN - usage error: -w takes a range [@][start:][end]: '10:5' starts above its end"},
      {{L"-c", L"", L"#X#"}, "QUARNEL UNKNOWN - usage error: -c takes a range [@][start:][end]: '' is empty"},
      {{L"--warning", L"1", L"--warning", L"2", L"#X#"},
       "QUARNEL UNKNOWN - usage error: -w/--warning is given more than once"},
      // Every option is refused the same way when it is repeated.
      {{L"--plugin", L"#X#"}, "QUARNEL UNKNOWN - usage error: --plugin is given more than once"},
      {{L"--timeout", L"5", L"-t", L"6", L"#X#"},
       "QUARNEL UNKNOWN - usage error: -t/--timeout is given more than once"},
      {{L"--host", L"a", L"--host", L"a", L"#X#"},
       "QUARNEL UNKNOWN - usage error: --host is given more than once"},
      {{L"-t", L"0", L"#X#"},
       "QUARNEL UNKNOWN - usage error: -t takes a whole number of seconds from 1 to 86400, not '0'"},
  };
  for (auto refusal : refusals) {
    refusal.arguments.insert(refusal.arguments.begin(), {HostPath(), L"check", L"--plugin"});
    const ProgramRun run = RunProgram(refusal.arguments);
    EXPECT_EQ(run.exitCode, 3u) << refusal.line;
    EXPECT_EQ(run.lines, std::vector<std::string>{refusal.line});
  }
}

const std::wstring kDialogTitle = L"Quarnel checker: External COM check (version 2.0 build 61)";

// Runs configure while another thread waits for its dialog and then does
// what `finish` does to it.
ProgramRun ConfigureAndFinish(const std::vector<std::wstring>& arguments, void (*finish)(HWND)) {
  std::thread driver([finish] {
    for (int attempt = 0; attempt < 600; ++attempt) {
      HWND dialog = FindWindowW(nullptr, kDialogTitle.c_str());
      if (dialog && IsWindowVisible(dialog)) {
        finish(dialog);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ADD_FAILURE() << "the dialog did not open";
  });
  std::vector<std::wstring> commandLine{HostPath(), L"configure"};
  commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
  const ProgramRun run = RunProgram(commandLine);
  driver.join();
  return run;
}

void PressOK(HWND dialog) { PostMessageW(GetDlgItem(dialog, kIdBtOK), BM_CLICK, 0, 0); }
void CloseWithoutOK(HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }

TEST(QuarnelHost, ConfigureExitsZeroAfterOKAndOneWhenClosedWithoutIt) {
  if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) <= 1) GTEST_SKIP() << "no display";
  const std::wstring written =
      L"#FILE=C:\\logs\\a.log#WHT=SIZE#CMP=GT#VAL=5#UNIT=MB#AUTH=F#USR=#PWD=#DBG=F#FNF=F#";

  ProgramRun run = ConfigureAndFinish({L"--host", L"srv1"}, PressOK);
  EXPECT_EQ(run.exitCode, 0u);
  const std::vector<std::string> empty{
      "parameter: #FILE=\\\\srv1\\#WHT=SIZE#CMP=GT#VAL=0#UNIT=B#AUTH=F#USR=#PWD=#DBG=F#FNF=F#"};
  EXPECT_EQ(run.lines, empty);

  // OK on a string that it writes back unchanged is still OK.
  run = ConfigureAndFinish({written}, PressOK);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.lines, std::vector<std::string>{"parameter: " + std::string(written.begin(), written.end())});

  for (const std::vector<std::wstring>& arguments : {std::vector<std::wstring>{written},
                                                     std::vector<std::wstring>{}}) {
    run = ConfigureAndFinish(arguments, CloseWithoutOK);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_TRUE(run.lines.empty());
  }
}

TEST(QuarnelHost, ConfigureWithoutADisplayFailsAtOnce) {
  if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
    GTEST_SKIP() << "Windows tells a display by its desktop, not by DISPLAY";
  }
  std::wstring display(256, L'\0');
  display.resize(GetEnvironmentVariableW(L"DISPLAY", display.data(), 256));
  SetEnvironmentVariableW(L"DISPLAY", nullptr);
  const ProgramRun run = RunProgram({HostPath(), L"configure", L"#FILE=C:\\a#"});
  if (!display.empty()) SetEnvironmentVariableW(L"DISPLAY", display.c_str());

  EXPECT_EQ(run.exitCode, 2u);
  EXPECT_TRUE(run.lines.empty());
  ASSERT_FALSE(run.errorLines.empty());
  EXPECT_EQ(run.errorLines[0],
            "error: configure needs a display for its dialog: set DISPLAY to an X display (for "
            "example DISPLAY=:0)");
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

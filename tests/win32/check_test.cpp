// Whole checks as the host runs them: quarnel-host.exe against the
// registered DLL, on real files that the test makes, with the trace lines
// read through the host's debugger.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host_check.h"
#include "registry/month_names.h"
#include "support/codepage.h"
#include "support/unique_any_win32.h"
#include "test_files.h"

namespace quarnel {
namespace {

constexpr ULONGLONG kTicksPerDay = 864000000000ull;

FILETIME FileTimeOf(ULONGLONG ticks) {
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

ULONGLONG NowTicks() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

SYSTEMTIME LocalTimeOf(ULONGLONG ticks) {
  const FILETIME utc = FileTimeOf(ticks);
  FILETIME local;
  SYSTEMTIME t;
  FileTimeToLocalFileTime(&utc, &local);
  FileTimeToSystemTime(&local, &t);
  return t;
}

// The date text that the plug-in writes for a UTC file time, with the
// month's name given or the default one.
std::string DateTextOf(ULONGLONG ticks, const char* monthName = nullptr) {
  const SYSTEMTIME t = LocalTimeOf(ticks);
  return std::to_string(t.wDay) + "-" + (monthName ? monthName : kMonths[t.wMonth - 1]) + "-" +
         std::to_string(t.wYear) + " " + std::to_string(t.wHour) + ":" +
         std::to_string(t.wMinute) + ":" + std::to_string(t.wSecond);
}

class CheckTest : public ::testing::Test {
 protected:
  ProgramRun Check(const std::wstring& parameters) { return RunHostCheck(parameters); }

  const TestDirectory files_{L"check"};
};

TEST_F(CheckTest, SumsTheSizesOfTheMatchingFiles) {
  files_.MakeFile(L"a.log", 10);
  files_.MakeFile(L"b.log", 20);
  files_.MakeFile(L"c.log", 30);
  files_.MakeFile(L"d.txt", 1000);
  const std::wstring pattern = files_.PathOf(L"*.log");

  ProgramRun run = Check(L"#FILE=" + pattern + L"#WHT=SIZE#CMP=GT#VAL=50#UNIT=B#");
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[0], "status: False");
  EXPECT_EQ(run.lines[1], "result: Size of " + Utf8(pattern) + " is 60 B");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(TraceLines(run)[0], "COM CHECK: RES: Size of " + Utf8(pattern) + " is 60 B");

  run = Check(L"#FILE=" + pattern + L"#WHT=SIZE#CMP=GT#VAL=.1#UNIT=KB#");
  EXPECT_EQ(run.lines[1], "result: Size of " + Utf8(pattern) + " is 0.1 KB");
  EXPECT_EQ(run.exitCode, 0u);
}

// A tree of three levels: each listing kind takes in every folder with
// SUB=T, and the trace names each folder entered.
TEST_F(CheckTest, TakesInEveryFolderOfATreeWithSubfolders) {
  for (const wchar_t* folder : {L"one", L"one\\two", L"one\\two\\three", L"empty"}) {
    ASSERT_TRUE(CreateDirectoryW(files_.PathOf(folder).c_str(), nullptr));
  }
  const ULONGLONG now = NowTicks();
  files_.MakeFile(L"top.tmp", 1, FileTimeOf(now - kTicksPerDay));
  files_.MakeFile(L"one\\a.tmp", 10, FileTimeOf(now - kTicksPerDay));
  files_.MakeFile(L"one\\two\\b.tmp", 100, FileTimeOf(now - 3 * kTicksPerDay));
  files_.MakeFile(L"one\\two\\three\\c.tmp", 1000, FileTimeOf(now - 2 * kTicksPerDay));
  files_.MakeFile(L"one\\two\\three\\d.txt", 10000);
  const std::wstring pattern = files_.PathOf(L"*.tmp");
  const std::string shown = Utf8(pattern);
  const struct {
    std::wstring parameters;
    std::string result;
  } cases[] = {
      {L"WHT=COUNT#CMP=GT#VAL=10#SUB=T#", "Number of files matching " + shown + " is 4"},
      {L"WHT=COUNT#CMP=GT#VAL=10#", "Number of files matching " + shown + " is 1"},
      {L"WHT=SIZE#CMP=GT#VAL=2000#UNIT=B#SUB=T#", "Size of " + shown + " is 1111 B"},
      {L"WHT=OLDWRITE#CMP=GT#VAL=5#UNIT=D#SUB=T#",
       Utf8(files_.PathOf(L"one\\two\\b.tmp")) + " was written 3 days ago"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Check(L"#FILE=" + pattern + L"#" + c.parameters);
    ASSERT_GE(run.lines.size(), 2u);
    EXPECT_EQ(run.lines[1], "result: " + c.result);
    EXPECT_EQ(run.lines[0], "status: True");
  }
  const ProgramRun run = Check(L"#FILE=" + pattern + L"#WHT=COUNT#CMP=GT#VAL=3#SUB=T#");
  const std::string top = Utf8(files_.path()) + "\\";
  // The folders of one level come in the order of the file system's listing.
  std::vector<std::string> entered;
  for (const std::string& line : TraceLines(run)) {
    if (line.rfind("FOLDER: ", 0) == 0) entered.push_back(line.substr(8));
  }
  std::sort(entered.begin(), entered.end());
  EXPECT_EQ(entered, (std::vector<std::string>{top, top + "empty\\", top + "one\\",
                                               top + "one\\two\\", top + "one\\two\\three\\"}));
  // A folder with no match holds 0 files; one that is not there, nothing.
  ProgramRun empty = Check(L"#FILE=" + files_.PathOf(L"empty\\*.tmp") + L"#WHT=COUNT#CMP=LT#VAL=1#FNF=T#");
  ASSERT_GE(empty.lines.size(), 2u);
  EXPECT_EQ(empty.lines[1], "result: Number of files matching " + Utf8(files_.PathOf(L"empty\\*.tmp")) + " is 0");
  empty = Check(L"#FILE=" + files_.PathOf(L"gone\\*.tmp") + L"#WHT=COUNT#CMP=LT#VAL=1#");
  ASSERT_GE(empty.lines.size(), 2u);
  EXPECT_EQ(empty.lines[1], "result: ERR: No matching files");
}

TEST_F(CheckTest, FindsANameOutsideTheAnsiCodePageAsItself) {
  files_.MakeFile(L"\u0436.dat", 7);
  files_.MakeFile(L"x.dat", 100);  // "ж" must not turn into a "?" that matches this
  const std::wstring path = files_.PathOf(L"\u0436.dat");
  const ProgramRun run = Check(L"#FILE=" + path + L"#WHT=SIZE#CMP=GT#VAL=10#UNIT=B#");
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[1], "result: Size of " + Utf8(path) + " is 7 B");
}

TEST_F(CheckTest, ALastWriteCheckTracesItsReadsExactly) {
  const ULONGLONG written = NowTicks() - 2 * kTicksPerDay;
  files_.MakeFile(L"app.log", 1, FileTimeOf(written));
  const std::wstring path = files_.PathOf(L"app.log");
  const std::string date = DateTextOf(written);

  const ProgramRun run = Check(L"#FILE=" + path + L"#WHT=WDATE#CMP=GT#VAL=1#UNIT=D#");
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[0], "status: False");
  EXPECT_EQ(run.lines[1], "result: " + Utf8(path) + " was written 2 days ago");
  const auto traces = TraceLines(run);
  ASSERT_GE(traces.size(), 4u);
  EXPECT_EQ(traces[0], "before GetFileLastWriteDate");
  EXPECT_EQ(traces[1].rfind("Month seen: ", 0), 0u);
  EXPECT_EQ(traces[2], "GetFileLastWriteDate - " + Utf8(path) + " : " + date);
  EXPECT_EQ(traces[3], "after GetFileLastWriteDate (" + date + ")");
  EXPECT_EQ(traces.back().rfind("COM CHECK: OUT: ", 0), 0u);
}

TEST_F(CheckTest, PicksTheOldestMatchingFile) {
  const ULONGLONG now = NowTicks();
  files_.MakeFile(L"b.log", 1, FileTimeOf(now - 3 * kTicksPerDay));
  files_.MakeFile(L"a.log", 1, FileTimeOf(now - 5 * kTicksPerDay));
  files_.MakeFile(L"c.log", 1, FileTimeOf(now - 1 * kTicksPerDay));

  const ProgramRun run =
      Check(L"#FILE=" + files_.PathOf(L"*.log") + L"#WHT=OLDWRITE#CMP=GT#VAL=7#UNIT=D#");
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[0], "status: True");
  EXPECT_EQ(run.lines[1], "result: " + Utf8(files_.PathOf(L"a.log")) + " was written 5 days ago");
  const auto traces = TraceLines(run);
  const std::string oldest =
      "OLDEST: " + Utf8(files_.PathOf(L"a.log")) + "-" + DateTextOf(now - 5 * kTicksPerDay);
  EXPECT_NE(std::find(traces.begin(), traces.end(), oldest), traces.end()) << oldest;
}

TEST_F(CheckTest, ExpandsTodaysDateInTheFileName) {
  SYSTEMTIME today;
  GetLocalTime(&today);
  wchar_t name[32];
  swprintf(name, 32, L"app%04u%02u%02u.log", today.wYear, today.wMonth, today.wDay);
  files_.MakeFile(name, 12);
  const ProgramRun run =
      Check(L"#FILE=" + files_.PathOf(L"app{yyyymmdd}.log") + L"#WHT=SIZE#CMP=LT#VAL=1#UNIT=B#");
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[1], "result: Size of " + Utf8(files_.PathOf(name)) + " is 12 B");
}

TEST_F(CheckTest, FailuresReachTheHostAsFalseStatusAndText) {
  const std::wstring missing = files_.PathOf(L"missing.log");
  struct {
    std::wstring parameters;
    std::string result;
  } cases[] = {
      {L"#FILE=" + missing + L"#WHT=CDATE#", "result: ERR:"},
      {L"#FILE=" + files_.PathOf(L"*.none") + L"#WHT=SIZE#", "result: ERR: No matching files"},
      {L"#FILE=" + files_.PathOf(L"{yyyy -1}") + L"#",
       "result: ERR: Invalid procedure call or argument (5) at 0 params: ---0- type: "
       "Double-Date-Date- pat=" + Utf8(files_.PathOf(L"{yyyy -1}"))},
      {L"#FILE=" + missing + L"#WHT=OLDWRITE#", "result: (Empty)"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Check(c.parameters);
    ASSERT_GE(run.lines.size(), 2u);
    EXPECT_EQ(run.lines[0], "status: False");
    EXPECT_EQ(run.lines[1].rfind(c.result, 0), 0u) << run.lines[1];
    EXPECT_EQ(run.exitCode, 1u);
  }
  // A missing single file gives the system's message and the code 2.
  const ProgramRun run = Check(L"#FILE=" + missing + L"#WHT=CDATE#");
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[1].substr(run.lines[1].size() - 4), " (2)");
  EXPECT_EQ(run.lines[1].find('\r'), std::string::npos);
}

TEST_F(CheckTest, ASearchThatCouldNotLookFailsTheCheck) {
  files_.MakeFile(L"a.log", 5);
  // A wildcard in the folder part is no valid name.
  const std::wstring wildFolder = files_.path() + L"\\lo*gs\\";
  for (const wchar_t* what : {L"SIZE", L"WDATE"}) {
    for (const wchar_t* notFoundIsOk : {L"T", L"F"}) {
      const std::wstring path = wildFolder + (what[0] == L'S' ? L"*.log" : L"a.log");
      SCOPED_TRACE(Utf8(what) + " FNF=" + Utf8(notFoundIsOk));
      ExpectFailedCheck(Check(L"#FILE=" + path + L"#WHT=" + what + L"#CMP=LT#VAL=1#FNF=" +
                              notFoundIsOk + L"#"),
                        CouldNotLookResult(ERROR_INVALID_NAME));
    }
  }
}

TEST_F(CheckTest, APathWithoutBackslashIsAPatternInTheCurrentFolder) {
  files_.MakeFile(L"a.dat", 10);
  files_.MakeFile(L"b.dat", 20);
  files_.MakeFile(L"c.log", 400);
  const ProgramRun run =
      RunHostCheck(L"#FILE=*.dat#WHT=SIZE#CMP=GT#VAL=100#UNIT=B#", files_.path());
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[0], "status: True");
  EXPECT_EQ(run.lines[1], "result: Size of *.dat is 30 B");
}

// A month value of the machine's month-name key, removed again at the end.
class MonthNameOverride {
 public:
  MonthNameOverride(int month, const std::string& name) : value_(std::to_string(month)) {
    unique_hkey key;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, ToAnsi(kMonthNameKeyPath).c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key.get(), value_.c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(name.c_str()),
                             static_cast<DWORD>(name.size() + 1)),
              ERROR_SUCCESS);
  }
  ~MonthNameOverride() {
    unique_hkey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ToAnsi(kMonthNameKeyPath).c_str(), 0,
                      KEY_SET_VALUE | KEY_WOW64_32KEY, key.put()) == ERROR_SUCCESS)
      RegDeleteValueA(key.get(), value_.c_str());
  }
  MonthNameOverride(const MonthNameOverride&) = delete;
  MonthNameOverride& operator=(const MonthNameOverride&) = delete;

 private:
  std::string value_;
};

TEST_F(CheckTest, AMonthNameThatNamesAnotherMonthIsATypeMismatch) {
  // Written in another month than this one, whose name is then that of
  // the month after it.
  const ULONGLONG written = NowTicks() - 60 * kTicksPerDay;
  const int month = LocalTimeOf(written).wMonth;
  const char* otherName = kMonths[month % 12];
  const MonthNameOverride override(month, otherName);
  files_.MakeFile(L"app.log", 1, FileTimeOf(written));
  const std::wstring path = files_.PathOf(L"app.log");

  const ProgramRun run = Check(L"#FILE=" + path + L"#WHT=WDATE#CMP=GT#VAL=1#UNIT=N#");
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[0], "status: False");
  // The now text, in a month of its own, reads back as itself.
  const std::string fileText = DateTextOf(written, otherName);
  std::string nowText;
  for (const auto& line : TraceLines(run)) {
    const std::string start = "in case Nn:", end = " True--" + fileText + " False";
    if (line.rfind(start, 0) == 0 && line.size() > start.size() + end.size() &&
        line.compare(line.size() - end.size(), end.size(), end) == 0)
      nowText = line.substr(start.size(), line.size() - start.size() - end.size());
  }
  ASSERT_FALSE(nowText.empty()) << "no trace line shows the file date failing to read back";
  EXPECT_EQ(run.lines[1], "result: ERR: Type mismatch (13) at 0 params: N-" + fileText + "-" +
                              nowText + "-0- type: Double-String-Date- pat=" + Utf8(path));
}

}  // namespace
}  // namespace quarnel

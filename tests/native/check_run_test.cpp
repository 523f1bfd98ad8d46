#include "plugin/check_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "fake_automation.h"
#include "fake_machine.h"
#include "fileaccess/share_connection.h"
#include "params/base64.h"
#include "plugin/evaluation.h"
#include "plugin/measurement.h"
#include "registry/month_names.h"
#include "support/check_error.h"
#include "support/ole_date.h"

namespace quarnel {
namespace {

using fake::FakeFileSystem;
using fake::FakeRegistry;
using fake::RecordingNetwork;
using fake::RecordingTraceSink;

std::string Narrow(const wchar_t* text) { return std::string(text, text + wcslen(text)); }

class CheckRunTest : public ::testing::Test {
 protected:
  CheckRunTest() {
    clock.now = OleDateFromFields({2026, 12, 7, 10, 0, 0});
    files.AddDirectory(L"C:\\data");
  }

  CheckOutcome Run(const std::wstring& parameterString) {
    return Run([&] { return parameterString; });
  }
  CheckOutcome Run(const std::function<std::wstring()>& reader) {
    CheckMachine machine{trace, files, network, registry, months, automation, clock};
    return RunCheck(reader, machine);
  }

  // A file written (and created) at a local time on 7 December 2026.
  void AddFileWrittenAt(const std::wstring& name, int hour, int minute, int second,
                        std::uint64_t size = 1) {
    const auto time = files.LocalFileTime(2026, 12, 7, hour, minute, second);
    files.AddFile(L"C:\\data", name, size, time, time);
  }

  bool Traced(const std::wstring& line) const {
    for (const auto& l : trace.lines)
      if (l == line) return true;
    return false;
  }

  FakeFileSystem files;
  FakeRegistry registry;
  RecordingTraceSink trace;
  MonthNameTable months;
  FakeAutomation automation;
  FixedClock clock;
  RecordingNetwork network;
};

// --- sizes -----------------------------------------------------------------

TEST_F(CheckRunTest, SumsTheSizesOfEveryMatchingPlainFile) {
  files.AddFile(L"C:\\data", L"a.log", 10);
  files.AddFile(L"C:\\data", L"b.log", 20);
  files.AddFile(L"C:\\data", L"c.log", 30);
  files.AddFile(L"C:\\data", L"skip.txt", 1000);
  files.AddFile(L"C:\\data", L"hidden.log", 1000).attributes = kAttributeHidden;
  files.AddFile(L"C:\\data", L"system.log", 1000).attributes = kAttributeSystem;
  files.AddDirectory(L"C:\\data\\dir.log");

  const auto outcome = Run(L"#FILE=C:\\data\\*.log#WHT=SIZE#CMP=GT#VAL=100#UNIT=B#");

  EXPECT_TRUE(outcome.passed);
  EXPECT_EQ(outcome.result, L"Size of C:\\data\\*.log is 60 B");
  ASSERT_EQ(trace.lines.size(), 2u);
  EXPECT_EQ(trace.lines[0], L"COM CHECK: RES: Size of C:\\data\\*.log is 60 B");
  EXPECT_EQ(trace.lines[1], L"COM CHECK: OUT: 12/7/2026 10:00:00 AM");
  // The listing's own records serve: no second search per file.
  EXPECT_EQ(files.searches, 1);
}

struct SizeCase {
  std::uint64_t bytes;
  const wchar_t* unit;
  const wchar_t* comparison;
  const wchar_t* threshold;
  const wchar_t* shown;
  bool passed;
};

TEST_F(CheckRunTest, ScalesRoundsAndComparesTheSizeInItsUnit) {
  const SizeCase cases[] = {
      {0, L"KB", L"EQ", L"0", L"is 0 KB", false},
      {0, L"KB", L"GT", L"0", L"is 0 KB", true},
      {1536, L"KB", L"LT", L"2", L"is 1.5 KB", false},
      {1536, L"KB", L"LT", L"1.5", L"is 1.5 KB", true},
      {1126, L"KB", L"EQ", L"1.1", L"is 1.1 KB", false},
      {1126, L"KB", L"NQ", L"1.1", L"is 1.1 KB", true},
      {10, L"B", L"GT", L"9", L"is 10 B", false},
      {10, L"B", L"GT", L"10", L"is 10 B", true},
      {2047, L"XB", L"EQ", L"2047", L"is 2047.0 XB", false},
      {3 * 1048576 / 2, L"MB", L"LT", L"1", L"is 1.5 MB", true},
      {5ull << 30, L"GB", L"GT", L"4.9", L"is 5.0 GB", false},
      {1ull << 40, L"TB", L"NQ", L"1", L"is 1.0 TB", true},
      {1ull << 40, L"TB", L"NQ", L"2", L"is 1.0 TB", false},
      {10, L"B", L"XX", L"0", L"is 10 B", false},  // unknown comparison never passes
      {10, L"B", L"", L"0", L"is 10 B", false},
  };
  for (const auto& c : cases) {
    FakeFileSystem fresh;
    fresh.AddFile(L"C:\\data", L"a.log", c.bytes);
    files = fresh;
    const auto outcome = Run(std::wstring(L"#FILE=C:\\data\\a.log#WHT=SIZE#CMP=") + c.comparison +
                             L"#VAL=" + c.threshold + L"#UNIT=" + c.unit + L"#");
    SCOPED_TRACE(testing::Message() << c.bytes << " " << c.unit << " " << c.comparison);
    EXPECT_EQ(outcome.result, std::wstring(L"Size of C:\\data\\a.log ") + c.shown);
    EXPECT_EQ(outcome.passed, c.passed);
  }
}

TEST_F(CheckRunTest, ReadsTheThresholdAsALeadingNumberWithAPoint) {
  files.AddFile(L"C:\\data", L"a.log", 1);
  // The file holds 1 byte: "1,5" reads as 1, so 1 < 1 does not hold.
  EXPECT_TRUE(Run(L"#FILE=C:\\data\\a.log#CMP=LT#VAL=1,5#UNIT=B#").passed);
  EXPECT_FALSE(Run(L"#FILE=C:\\data\\a.log#CMP=LT#VAL=1.5#UNIT=B#").passed);
  EXPECT_FALSE(Run(L"#FILE=C:\\data\\a.log#CMP=GT#VAL=#UNIT=B#").passed);
  EXPECT_TRUE(Run(L"#FILE=C:\\data\\a.log#CMP=GT#VAL= 2 5#UNIT=B#").passed);
}

TEST_F(CheckRunTest, AShareNameMeansEveryFileInTheShareRoot) {
  files.AddFile(L"\\\\srv\\share", L"a", 4);
  files.AddFile(L"\\\\srv\\share", L"b.txt", 6);
  const auto outcome = Run(L"#FILE=\\\\srv\\share#WHT=SIZE#CMP=GT#VAL=100#UNIT=B#");
  EXPECT_EQ(outcome.result, L"Size of \\\\srv\\share\\*.* is 10 B");
}

TEST_F(CheckRunTest, ReportsTheLastSizeReadThatFailed) {
  // A name with braces goes through the placeholder expansion before its
  // size is read, and the expanded name is not there.
  files.AddFile(L"C:\\data", L"a.log", 10);
  files.AddFile(L"C:\\data", L"b{yyyy}.log", 20);
  const auto outcome = Run(L"#FILE=C:\\data\\*.log#WHT=SIZE#CMP=GT#VAL=100#UNIT=B#");
  EXPECT_FALSE(outcome.passed);
  EXPECT_EQ(outcome.result, L"The system cannot find the file specified.");
}

TEST_F(CheckRunTest, AFailedSizeReadBeforeTheLastFailsTheCheck) {
  files.AddFile(L"C:\\data", L"b{yyyy}.log", 20);
  files.AddFile(L"C:\\data", L"a.log", 10);
  const auto outcome = Run(L"#FILE=C:\\data\\*.log#WHT=SIZE#CMP=LT#VAL=1#UNIT=B#");
  EXPECT_FALSE(outcome.passed);
  EXPECT_EQ(outcome.result, L"The system cannot find the file specified.");
  EXPECT_EQ(trace.lines.at(0), L"COM CHECK: RES: The system cannot find the file specified.");
}

TEST_F(CheckRunTest, APathWithoutBackslashIsAPatternInTheCurrentFolder) {
  files.AddFile(L"", L"a.dat", 10, files.LocalFileTime(2026, 12, 7, 8, 0, 0));
  files.AddFile(L"", L"b.dat", 20, files.LocalFileTime(2026, 12, 7, 9, 0, 0));
  // Read by its name, expanded to c2026.dat, in the same folder.
  files.AddFile(L"", L"c{yyyy}.dat", 1);
  files.AddFile(L"", L"c2026.dat", 300).attributes = kAttributeHidden;
  EXPECT_EQ(Run(L"#FILE=*.dat#WHT=SIZE#UNIT=B#").result, L"Size of *.dat is 330 B");
  EXPECT_EQ(Run(L"#FILE=?.dat#WHT=YOUWRITE#UNIT=H#").result, L"b.dat was written 1 hours ago");
}

// --- nothing found -----------------------------------------------------------

struct NotFoundCase {
  const wchar_t* parameters;
  std::optional<std::wstring> result;
  bool passed;
};

TEST_F(CheckRunTest, NothingFound) {
  const NotFoundCase cases[] = {
      {L"#FILE=C:\\data\\*.log#WHT=SIZE#", L"ERR: No matching files", false},
      {L"#FILE=C:\\data\\*.log#", L"ERR: No matching files", false},
      {L"#FILE=C:\\data\\*.log#WHT=SIZE#FNF=T#", L"No matching files", true},
      {L"#FILE=C:\\data\\*.log#WHT=OLDWRITE#FNF=T#", L"No matching files", true},
      {L"#FILE=C:\\data\\a.log#WHT=CDATE#FNF=T#", L"No matching files", true},
      {L"#FILE=C:\\data\\*.log#WHT=SIZE#FNF=t#", L"ERR: No matching files", false},
      {L"#FILE=C:\\data\\*.log#WHT=OLDWRITE#", std::nullopt, false},
      {L"#FILE=C:\\data\\*.log#WHT=YOUCREA#", std::nullopt, false},
      {L"#FILE=C:\\data\\a.log#WHT=size#", std::nullopt, false},
      // An unknown kind never passes: as with FNF=F, whatever FNF says.
      {L"#FILE=C:\\data\\a.log#WHT=size#FNF=T#", std::nullopt, false},
      {L"#FILE=C:\\data\\*.log#WHT=AVGSIZE#CMP=GT#VAL=1000#FNF=T#", std::nullopt, false},
      {L"#FILE=C:\\data\\a.log#WHT=CDATE#",
       L"ERR:The system cannot find the file specified. (2)", false},
      {L"#FILE=C:\\nodir\\a.log#WHT=WDATE#",
       L"ERR:The system cannot find the path specified. (3)", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.parameters, c.parameters + wcslen(c.parameters)));
    const auto outcome = Run(c.parameters);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(outcome.passed, c.passed);
  }
  // Apart from the date reads' own lines, nothing found writes no line.
  EXPECT_FALSE(Traced(L"COM CHECK: RES: ERR: No matching files"));
}

TEST_F(CheckRunTest, AnOldestScanThatFindsNothingStillTracesItsChoice) {
  Run(L"#FILE=C:\\data\\*.log#WHT=OLDCREA#");
  EXPECT_EQ(trace.lines, std::vector<std::wstring>{L"OLDEST: -"});
}

// --- counts and subfolders -----------------------------------------------------

class TreeCheckTest : public CheckRunTest {
 protected:
  TreeCheckTest() {
    AddFileWrittenAt(L"top.tmp", 9, 0, 0, 10);
    AddFileWrittenAt(L"top.txt", 9, 0, 0, 1000);
    const auto early = files.LocalFileTime(2026, 12, 7, 8, 0, 0);
    files.AddFile(L"C:\\data\\in", L"a.tmp", 20, early, early);
    files.AddFile(L"C:\\data\\in\\deep", L"b.tmp", 30, early + 1800 * fake::kTicksPerSecond);
    files.AddFile(L"C:\\data\\in\\deep", L"c.tmp", 40).attributes = kAttributeHidden;
    files.AddDirectory(L"C:\\data\\empty");
  }
};

struct TreeCase {
  const wchar_t* parameters;
  std::optional<std::wstring> result;
  bool passed;
};

TEST_F(TreeCheckTest, CountsAndSubfoldersCompareAsTheirKindsDo) {
  const TreeCase cases[] = {
      {L"#FILE=C:\\data\\*.tmp#WHT=COUNT#CMP=GT#VAL=0#", L"Number of files matching C:\\data\\*.tmp is 1", false},
      {L"#FILE=C:\\data\\*.tmp#WHT=COUNT#CMP=GT#VAL=5#SUB=T#UNIT=MB#",
       L"Number of files matching C:\\data\\*.tmp is 3", true},
      {L"#FILE=C:\\data\\*.tmp#WHT=COUNT#CMP=EQ#VAL=3#SUB=t#", L"Number of files matching C:\\data\\*.tmp is 1", true},
      {L"#FILE=C:\\data\\*.tmp#WHT=COUNT#CMP=NQ#VAL=3#SUB=T#", L"Number of files matching C:\\data\\*.tmp is 3", true},
      // a folder with no match holds 0 files: a measurement, whatever FNF says
      {L"#FILE=C:\\data\\empty\\*.tmp#WHT=COUNT#CMP=LT#VAL=7#FNF=T#",
       L"Number of files matching C:\\data\\empty\\*.tmp is 0", false},
      {L"#FILE=C:\\data\\*.none#WHT=COUNT#CMP=GT#VAL=0#SUB=T#", L"Number of files matching C:\\data\\*.none is 0", true},
      // a folder that is not there is nothing found, as for a size
      {L"#FILE=C:\\gone\\*.tmp#WHT=COUNT#CMP=LT#VAL=7#", L"ERR: No matching files", false},
      {L"#FILE=C:\\gone\\*.tmp#WHT=COUNT#CMP=LT#VAL=7#FNF=T#", L"No matching files", true},
      {L"#FILE=C:\\gone\\*.tmp#WHT=SIZE#CMP=LT#VAL=7#SUB=T#FNF=T#", L"No matching files", true},
      {L"#FILE=C:\\data\\*.none#WHT=SIZE#CMP=LT#VAL=7#SUB=T#FNF=T#", L"No matching files", true},
      {L"#FILE=C:\\data\\*.none#WHT=SIZE#CMP=LT#VAL=7#SUB=T#", L"ERR: No matching files", false},
      // sizes and ages over the tree
      {L"#FILE=C:\\data\\*.tmp#WHT=SIZE#CMP=GT#VAL=50#UNIT=B#SUB=T#", L"Size of C:\\data\\*.tmp is 60 B", false},
      {L"#FILE=C:\\data\\*.tmp#WHT=SIZE#CMP=GT#VAL=50#UNIT=B#", L"Size of C:\\data\\*.tmp is 10 B", true},
      {L"#FILE=C:\\data\\*.tmp#WHT=OLDWRITE#CMP=GT#VAL=100#UNIT=N#SUB=T#",
       L"C:\\data\\in\\a.tmp was written 120 minutes ago", false},
      // the single-date kinds read the one file
      {L"#FILE=C:\\data\\top.tmp#WHT=WDATE#CMP=GT#VAL=100#UNIT=N#SUB=T#",
       L"C:\\data\\top.tmp was written 60 minutes ago", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.parameters, c.parameters + wcslen(c.parameters)));
    const auto outcome = Run(c.parameters);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(outcome.passed, c.passed);
  }
}

TEST_F(TreeCheckTest, AFolderOfTheTreeThatCannotBeListedFailsTheCheckNamingIt) {
  files.FailSearch(L"C:\\data\\in\\deep\\*.tmp", 5);
  for (const wchar_t* what : {L"SIZE", L"COUNT", L"YOUWRITE"}) {
    for (const wchar_t* notFoundIsOk : {L"T", L"F"}) {
      const auto outcome = Run(std::wstring(L"#FILE=C:\\data\\*.tmp#WHT=") + what +
                               L"#CMP=LT#VAL=1#SUB=T#FNF=" + notFoundIsOk + L"#");
      EXPECT_FALSE(outcome.passed);
      EXPECT_EQ(outcome.result, L"ERR:C:\\data\\in\\deep\\ could not be listed: Access is denied. (5)");
    }
  }
}

TEST_F(TreeCheckTest, TracesEachFolderEnteredAndOnlyWithAWalk) {
  Run(L"#FILE=C:\\data\\*.tmp#WHT=COUNT#CMP=GT#VAL=5#SUB=T#");
  EXPECT_EQ(trace.lines,
            (std::vector<std::wstring>{L"FOLDER: C:\\data\\", L"FOLDER: C:\\data\\in\\",
                                       L"FOLDER: C:\\data\\in\\deep\\", L"FOLDER: C:\\data\\empty\\",
                                       L"COM CHECK: RES: Number of files matching C:\\data\\*.tmp is 3",
                                       L"COM CHECK: OUT: 12/7/2026 10:00:00 AM"}));
  trace.lines.clear();
  Run(L"#FILE=C:\\data\\*.tmp#WHT=SIZE#CMP=GT#VAL=5#SUB=F#");
  EXPECT_FALSE(Traced(L"FOLDER: C:\\data\\"));
}

// --- dates ---------------------------------------------------------------------

TEST_F(CheckRunTest, ALastWriteCheckTracesEveryStepAndCountsMinutes) {
  AddFileWrittenAt(L"a.log", 9, 45, 0);
  const auto outcome = Run(L"#FILE=C:\\data\\a.log#WHT=WDATE#CMP=GT#VAL=10#UNIT=N#");

  EXPECT_FALSE(outcome.passed);
  EXPECT_EQ(outcome.result, L"C:\\data\\a.log was written 15 minutes ago");
  const std::vector<std::wstring> expected = {
      L"before GetFileLastWriteDate",
      L"Month seen: 12",
      L"GetFileLastWriteDate - C:\\data\\a.log : 7-Dec-2026 9:45:0",
      L"after GetFileLastWriteDate (7-Dec-2026 9:45:0)",
      L"in case Nn:7-Dec-2026 10:0:0 True--7-Dec-2026 9:45:0 True",
      L"in case Dn:12/7/2026 10:00:00 AM",
      L"in case Nd:7-Dec-2026 9:45:0",
      L"in case Nn:12/7/2026 9:45:00 AM",
      L"in case unit:N",
      L"in case dif:15",
      L"COM CHECK: RES: C:\\data\\a.log was written 15 minutes ago",
      L"COM CHECK: OUT: 12/7/2026 10:00:00 AM",
  };
  EXPECT_EQ(trace.lines, expected);
}

TEST_F(CheckRunTest, ACreationCheckTracesAroundItsRead) {
  AddFileWrittenAt(L"a.log", 7, 0, 0);
  const auto outcome = Run(L"#FILE=C:\\data\\a.log#WHT=CDATE#CMP=LT#VAL=2#UNIT=H#DBG=T#");
  EXPECT_TRUE(outcome.passed);
  EXPECT_EQ(outcome.result,
            L"C:\\data\\a.log was created 3 hours ago (ID=7-Dec-2026 7:0:0  - N=7-Dec-2026 10:0:0)");
  ASSERT_GE(trace.lines.size(), 2u);
  EXPECT_EQ(trace.lines[0], L"before GetFileCreateDate");
  EXPECT_EQ(trace.lines[1], L"after  GetFileCreateDate (7-Dec-2026 7:0:0)");
}

struct AgeCase {
  const wchar_t* unit;
  const wchar_t* comparison;
  const wchar_t* threshold;
  const wchar_t* ageText;
  bool passed;
};

TEST_F(CheckRunTest, CountsAgeBoundariesAndComparesOnlyLessAndMore) {
  // Written 6 December 23:59:59; now is 7 December 10:00:00.
  files.AddFile(L"C:\\data", L"a.log", 1, files.LocalFileTime(2026, 12, 6, 23, 59, 59));
  const AgeCase cases[] = {
      {L"N", L"GT", L"600", L"601 minutes", false},
      {L"n", L"GT", L"601", L"601 unknown unit (n)", true},
      {L"H", L"LT", L"11", L"11 hours", true},
      {L"h", L"LT", L"12", L"11 unknown unit (h)", false},
      {L"D", L"GT", L"0", L"1 days", false},
      {L"d", L"GT", L"1", L"1 unknown unit (d)", true},
      {L"D", L"EQ", L"1", L"1 days", false},
      {L"D", L"NQ", L"5", L"1 days", false},
      {L"S", L"GT", L"0", L"36001 unknown unit (S)", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.unit[0] << " " << c.comparison[0]);
    const auto outcome = Run(std::wstring(L"#FILE=C:\\data\\a.log#WHT=WDATE#CMP=") + c.comparison +
                             L"#VAL=" + c.threshold + L"#UNIT=" + c.unit + L"#");
    EXPECT_EQ(outcome.result, std::wstring(L"C:\\data\\a.log was written ") + c.ageText + L" ago");
    EXPECT_EQ(outcome.passed, c.passed);
  }
}

TEST_F(CheckRunTest, AFileDateInTheFutureGivesANegativeAge) {
  AddFileWrittenAt(L"a.log", 12, 0, 0);
  EXPECT_EQ(Run(L"#FILE=C:\\data\\a.log#WHT=WDATE#CMP=GT#VAL=1#UNIT=H#").result,
            L"C:\\data\\a.log was written -2 hours ago");
}

TEST_F(CheckRunTest, AnAgeUnitTheDateDifferenceRejectsEndsInTheErrorReport) {
  AddFileWrittenAt(L"a.log", 9, 0, 0);
  const auto outcome = Run(L"#FILE=C:\\data\\a.log#WHT=WDATE#CMP=GT#VAL=1#UNIT=X#");
  EXPECT_FALSE(outcome.passed);
  EXPECT_EQ(outcome.result,
            L"ERR: Invalid procedure call or argument (5) at 0 params: X-7-Dec-2026 9:0:0-"
            L"7-Dec-2026 10:0:0-0- type: Double-Date-Date- pat=C:\\data\\a.log");
  EXPECT_EQ(trace.lines.back(), L"ERROR " + *outcome.result);
}

// --- oldest and youngest ---------------------------------------------------------

TEST_F(CheckRunTest, PicksTheOldestAndTheYoungestByStrictComparison) {
  AddFileWrittenAt(L"b.log", 8, 0, 0);
  AddFileWrittenAt(L"a.log", 6, 0, 0);
  AddFileWrittenAt(L"c.log", 6, 0, 0);  // as old as a.log, listed later
  AddFileWrittenAt(L"d.log", 9, 30, 0);
  AddFileWrittenAt(L"e.log", 9, 30, 0);

  auto outcome = Run(L"#FILE=C:\\data\\*.log#WHT=OLDWRITE#CMP=GT#VAL=5#UNIT=H#");
  EXPECT_EQ(outcome.result, L"C:\\data\\a.log was written 4 hours ago");
  EXPECT_TRUE(outcome.passed);
  EXPECT_TRUE(Traced(L"OLDEST: C:\\data\\a.log-7-Dec-2026 6:0:0"));
  EXPECT_TRUE(Traced(L"C:\\data\\c.logdate:7-Dec-2026 6:0:0"));

  trace.lines.clear();
  outcome = Run(L"#FILE=C:\\data\\*.log#WHT=YOUCREA#CMP=GT#VAL=5#UNIT=N#");
  EXPECT_EQ(outcome.result, L"C:\\data\\d.log was created 30 minutes ago");
  EXPECT_FALSE(outcome.passed);
  EXPECT_TRUE(Traced(L"YOUNGEST: C:\\data\\d.log-7-Dec-2026 9:30:0"));
  // Creation dates write no per-file line.
  EXPECT_FALSE(Traced(L"C:\\data\\d.logdate:7-Dec-2026 9:30:0"));
}

// With a second placeholder in the path, the directory prefix keeps it
// while the listing looks in the expanded directory: every date is then
// read by a search of prefix + name, which looks in the unexpanded one.
constexpr wchar_t kTwoPlaceholderPattern[] = L"C:\\{yyyy}\\{yyyy}\\*.log";
constexpr wchar_t kListedDirectory[] = L"C:\\2026\\2026";
constexpr wchar_t kReadDirectory[] = L"C:\\2026\\{yyyy}";

TEST_F(CheckRunTest, AnUnreadableFirstFileLeavesTheSecondAsFirstCandidate) {
  const auto early = files.LocalFileTime(2026, 12, 7, 1, 0, 0);
  const auto late = files.LocalFileTime(2026, 12, 7, 9, 0, 0);
  files.AddFile(kListedDirectory, L"x.log", 1, early, early);
  files.AddFile(kListedDirectory, L"y.log", 1, late, late);
  files.AddFile(kReadDirectory, L"y.log", 1, late, late);

  for (const wchar_t* what : {L"OLDWRITE", L"YOUWRITE"}) {
    trace.lines.clear();
    const auto outcome = Run(std::wstring(L"#FILE=") + kTwoPlaceholderPattern + L"#WHT=" + what +
                             L"#UNIT=H#");
    EXPECT_EQ(outcome.result, L"C:\\2026\\{yyyy}\\y.log was written 1 hours ago") << what;
    EXPECT_TRUE(Traced(L"C:\\2026\\{yyyy}\\x.logdate:ERR:The system cannot find the file "
                       L"specified. (2)"));
  }
}

TEST_F(CheckRunTest, AScanThatCanReadNoDateReportsTheFailedRead) {
  files.AddFile(kListedDirectory, L"x.log", 1, 1, 1);
  files.AddFile(kListedDirectory, L"y.log", 1, 1, 1);
  files.AddDirectory(kReadDirectory);
  files.FailSearch(L"C:\\2026\\{yyyy}\\x.log", fake::kErrorPathNotFound);
  const auto outcome =
      Run(std::wstring(L"#FILE=") + kTwoPlaceholderPattern + L"#WHT=OLDCREA#UNIT=H#FNF=T#");
  EXPECT_FALSE(outcome.passed);
  EXPECT_EQ(outcome.result, L"ERR:The system cannot find the file specified. (2)");
  EXPECT_TRUE(Traced(L"OLDEST: -"));
}

TEST_F(CheckRunTest, AScanFailsWhenAListedFilesDateCouldNotBeLookedAt) {
  const auto time = files.LocalFileTime(2026, 12, 7, 9, 0, 0);
  files.AddFile(kListedDirectory, L"x.log", 1, time, time);
  files.AddFile(kListedDirectory, L"y.log", 1, time, time);
  files.AddFile(kReadDirectory, L"y.log", 1, time, time);
  files.FailSearch(L"C:\\2026\\{yyyy}\\x.log", 5);
  const auto outcome =
      Run(std::wstring(L"#FILE=") + kTwoPlaceholderPattern + L"#WHT=YOUCREA#UNIT=H#FNF=T#");
  EXPECT_FALSE(outcome.passed);
  EXPECT_EQ(outcome.result, L"ERR:Access is denied. (5)");
}

// --- could not look ---------------------------------------------------------------

struct SearchFailureCase {
  std::uint32_t code;
  const wchar_t* failure;  // the result text of a failed check; null: nothing found
  const wchar_t* missingSingleFile = nullptr;  // nothing found: a date check's result, FNF=F
};

TEST_F(CheckRunTest, OnlyNothingToFindCountsAsNotFound) {
  const SearchFailureCase codes[] = {
      {2, nullptr, L"ERR:The system cannot find the file specified. (2)"},
      {3, nullptr, L"ERR:The system cannot find the path specified. (3)"},
      {18, nullptr, L"ERR: (18)"},
      {5, L"ERR:Access is denied. (5)"},
      {53, L"ERR:The network path was not found. (53)"},
      {67, L"ERR:The network name cannot be found. (67)"},
      {1326, L"ERR:The user name or password is incorrect. (1326)"},
      {123, L"ERR:The filename, directory name, or volume label syntax is incorrect. (123)"},
      {21, L"ERR:The device is not ready. (21)"},
      {4321, L"ERR: (4321)"},  // a code without a message
  };
  for (const auto& c : codes) {
    for (const wchar_t* what : {L"SIZE", L"WDATE", L"CDATE", L"OLDWRITE", L"YOUCREA"}) {
      for (const bool notFoundIsOk : {true, false}) {
        SCOPED_TRACE(testing::Message() << c.code << " " << Narrow(what) << " " << notFoundIsOk);
        const bool single = what[1] == L'D';
        const std::wstring path = single ? L"C:\\data\\a.log" : L"C:\\data\\*.log";
        FakeFileSystem fresh;
        fresh.SetMessage(21, L"The device is not ready.\r\n");
        fresh.SetMessage(67, L"The network name cannot be found.\r\n");
        fresh.FailSearch(path, c.code);
        files = fresh;
        trace.lines.clear();
        const auto outcome = Run(L"#FILE=" + path + L"#WHT=" + what + L"#CMP=LT#VAL=1#FNF=" +
                                 (notFoundIsOk ? L"T" : L"F") + L"#");
        if (c.failure) {
          EXPECT_FALSE(outcome.passed);
          EXPECT_EQ(outcome.result, c.failure);
          ASSERT_GE(trace.lines.size(), 2u);
          EXPECT_EQ(trace.lines.end()[-2], std::wstring(L"COM CHECK: RES: ") + c.failure);
          EXPECT_EQ(trace.lines.back(), L"COM CHECK: OUT: 12/7/2026 10:00:00 AM");
        } else {
          const std::optional<std::wstring> notFound =
              notFoundIsOk       ? L"No matching files"
              : what[0] == L'S' ? L"ERR: No matching files"
              : single          ? std::optional<std::wstring>(c.missingSingleFile)
                                : std::nullopt;
          EXPECT_EQ(outcome.passed, notFoundIsOk);
          EXPECT_EQ(outcome.result, notFound);
        }
      }
    }
  }
}

struct CutListingCase {
  std::uint32_t code;
  const wchar_t* size;    // the result of a size check
  const wchar_t* oldest;  // the result of an oldest scan
};

TEST_F(CheckRunTest, AListingCutShortFailsTheCheck) {
  const CutListingCase cases[] = {
      {5, L"ERR:Access is denied. (5)", L"ERR:Access is denied. (5)"},
      {2, L"ERR:The system cannot find the file specified. (2)",
       L"ERR:The system cannot find the file specified. (2)"},
      {59, L"ERR: (59)", L"ERR: (59)"},
      // Running out of entries is the listing's normal end.
      {18, L"Size of C:\\data\\*.log is 3 B", L"C:\\data\\b.log was written 2 hours ago"},
  };
  AddFileWrittenAt(L"a.log", 9, 0, 0);
  AddFileWrittenAt(L"b.log", 8, 0, 0, 2);
  AddFileWrittenAt(L"c.log", 7, 0, 0, 4);  // the oldest and the largest, never listed
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    files.FailListingAfter(L"C:\\data\\*.log", 2, c.code);
    const auto size = Run(L"#FILE=C:\\data\\*.log#WHT=SIZE#CMP=GT#VAL=100#UNIT=B#");
    EXPECT_EQ(size.result, c.size);
    EXPECT_EQ(size.passed, c.code == 18);
    const auto oldest = Run(L"#FILE=C:\\data\\*.log#WHT=OLDWRITE#CMP=GT#VAL=100#UNIT=H#");
    EXPECT_EQ(oldest.result, c.oldest);
    EXPECT_EQ(oldest.passed, c.code == 18);
  }
}

struct ReadBackCase {
  const wchar_t* what;
  int fileMonth;
  const wchar_t* report;
};

TEST_F(CheckRunTest, ADateTextThatReadsBackAsAnotherDateIsATypeMismatch) {
  // November is named "Feb", which the locale reads as February.
  registry.Set(L"11", std::wstring(L"Feb", 4));
  const ReadBackCase cases[] = {
      {L"WDATE", 11,
       L"ERR: Type mismatch (13) at 0 params: N-7-Feb-2026 9:0:0-7-Dec-2026 10:0:0-0- type: "
       L"Double-String-Date- pat=C:\\data\\a.log"},
      // A single candidate is taken as it is and fails in the evaluation,
      // which shows its date.
      {L"OLDCREA", 11,
       L"ERR: Type mismatch (13) at 0 params: N-7-Feb-2026 9:0:0-7-Dec-2026 10:0:0-0- type: "
       L"Double-String-Date- pat=C:\\data\\a.log"},
      // A date in another month is written with its own name and unaffected.
      {L"WDATE", 10, L"C:\\data\\a.log was written 87900 minutes ago"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.what));
    FakeFileSystem fresh;
    const auto time = fresh.LocalFileTime(2026, c.fileMonth, 7, 9, 0, 0);
    fresh.AddFile(L"C:\\data", L"a.log", 1, time, time);
    files = fresh;
    const auto outcome = Run(std::wstring(L"#FILE=C:\\data\\a.log#WHT=") + c.what +
                             L"#CMP=GT#VAL=1#UNIT=N#");
    EXPECT_EQ(outcome.result, c.report);
    EXPECT_FALSE(outcome.passed);
  }
  EXPECT_TRUE(Traced(L"in case Nn:7-Dec-2026 10:0:0 True--7-Feb-2026 9:0:0 False"));
}

// A month name that the locale cannot read: the first candidate is taken
// as it is, and the check fails where a value is first needed. During the
// scan the file date is still Empty, which the report shows (converted: the
// zero date); a single candidate fails in the evaluation, with its date.
TEST_F(CheckRunTest, AScanFailsWhereADateThatDoesNotConvertIsFirstCompared) {
  struct File {
    const wchar_t* name;
    int month, day, hour;
  };
  struct Case {
    const char* name;
    const wchar_t* what;
    std::vector<File> files;
    const wchar_t* fileDate;
    std::vector<std::wstring> lastLines;  // before the error line
  };
  const std::wstring a = L"C:\\data\\a.log", b = L"C:\\data\\b.log";
  const Case cases[] = {
      {"the first candidate, at the second one's comparison",
       L"OLDWRITE",
       {{L"a.log", 11, 30, 9}, {L"b.log", 11, 30, 8}},
       L"",
       {L"Month seen: 11", L"GetFileLastWriteDate - " + b + L" : 30-Novembre-2026 8:0:0",
        b + L"date:30-Novembre-2026 8:0:0"}},
      {"the second candidate, at its comparison",
       L"OLDWRITE",
       {{L"a.log", 12, 1, 9}, {L"b.log", 11, 30, 8}},
       L"",
       {b + L"date:30-Novembre-2026 8:0:0"}},
      {"a single candidate, in the evaluation",
       L"OLDWRITE",
       {{L"a.log", 11, 30, 9}},
       L"30-Novembre-2026 9:0:0",
       {L"OLDEST: " + a + L"-30-Novembre-2026 9:0:0",
        L"in case Nn:7-Dec-2026 10:0:0 True--30-Novembre-2026 9:0:0 False",
        L"in case Dn:12/7/2026 10:00:00 AM", L"in case Nd:30-Novembre-2026 9:0:0"}},
      {"creation dates, without per-file lines",
       L"YOUCREA",
       {{L"a.log", 11, 30, 9}, {L"b.log", 11, 30, 8}},
       L"",
       {}},
  };
  registry.Set(L"11", std::wstring(L"Novembre"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files = FakeFileSystem();
    for (const File& file : c.files) {
      const auto time = files.LocalFileTime(2026, file.month, file.day, file.hour, 0, 0);
      files.AddFile(L"C:\\data", file.name, 1, time, time);
    }
    trace.lines.clear();
    const auto outcome = Run(std::wstring(L"#FILE=C:\\data\\*.log#WHT=") + c.what + L"#UNIT=H#");
    EXPECT_FALSE(outcome.passed);
    const std::wstring report = std::wstring(L"ERR: Type mismatch (13) at 0 params: H-") +
                                c.fileDate + L"-" + (c.files.size() == 1 ? L"7-Dec-2026 10:0:0" : L"") +
                                L"-0- type: Double-" +
                                (*c.fileDate ? L"String" : L"Date") + L"-Date- pat=C:\\data\\*.log";
    EXPECT_EQ(outcome.result, report);
    std::vector<std::wstring> expected = c.lastLines;
    expected.push_back(L"ERROR " + report);
    ASSERT_GE(trace.lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::wstring>(trace.lines.end() - expected.size(), trace.lines.end()),
              expected);
    if (c.lastLines.empty()) EXPECT_EQ(trace.lines.size(), 1u);
  }
}

// Whoever listens receives the very lines of a recorded run; nobody
// listening changes nothing but the lines.
TEST_F(CheckRunTest, ListenersReceiveEveryLineAndNobodyListeningChangesNothingElse) {
  AddFileWrittenAt(L"b.log", 8, 0, 0);
  AddFileWrittenAt(L"a.log", 6, 0, 0);
  AddFileWrittenAt(L"c.log", 9, 0, 0);
  const std::wstring parameters = L"#FILE=C:\\data\\*.log#WHT=OLDWRITE#CMP=GT#VAL=1#UNIT=H#DBG=T#";
  const CheckOutcome recorded = Run(parameters);
  struct Case {
    const char* name;
    bool debugger;
    std::uint64_t monitorFrom;
    bool heard;
  };
  const Case cases[] = {
      {"a debugger", true, ~0ull, true},
      {"a monitor", false, 0, true},
      {"nobody", false, ~0ull, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::ScriptedOutput output;
    output.debugger = c.debugger;
    output.monitorFrom = c.monitorFrom;
    ListenedTraceSink sink(output);
    CheckMachine machine{sink, files, network, registry, months, automation, clock};
    const CheckOutcome outcome = RunCheck([&] { return parameters; }, machine);
    EXPECT_EQ(outcome.passed, recorded.passed);
    EXPECT_EQ(outcome.result, recorded.result);
    EXPECT_EQ(output.written, c.heard ? trace.lines : std::vector<std::wstring>());
  }
}

// --- the error report -------------------------------------------------------------

TEST_F(CheckRunTest, AFailureEndsInTheErrorReport) {
  const auto outcome = Run(L"#FILE=C:\\data\\{yyyy -1}.log#WHT=SIZE#UNIT=KB#");
  EXPECT_FALSE(outcome.passed);
  EXPECT_EQ(outcome.result,
            L"ERR: Invalid procedure call or argument (5) at 0 params: KB---0- type: "
            L"Double-Date-Date- pat=C:\\data\\{yyyy -1}.log");
  EXPECT_EQ(trace.lines, std::vector<std::wstring>{L"ERROR " + *outcome.result});
}

TEST_F(CheckRunTest, TheErrorReportOfACountShowsTheFilesCountedSoFar) {
  FileMeasurement measured;
  measured.path = L"C:\\spool\\*.tmp";
  measured.entryCount = 2147483647;
  const Moment now{L"7-Dec-2026 10:0:0", {2026, 12, 7, 10, 0, 0}};
  CheckMachine machine{trace, files, network, registry, months, automation, clock};
  const std::wstring unit;
  const auto outcome = ErrorReport(CheckError(ErrorNumber::Overflow), {unit, measured, now, false, true}, machine);
  EXPECT_EQ(outcome.result, L"ERR: Overflow (6) at 0 params: --7-Dec-2026 10:0:0-2147483647- type: "
                            L"Long-Date-Date- pat=C:\\spool\\*.tmp");
}

TEST_F(CheckRunTest, AParameterStringThatIsNullEndsInTheErrorReport) {
  const auto outcome = Run([]() -> std::wstring {
    throw CheckError(ErrorNumber::InvalidUseOfNull);
  });
  EXPECT_FALSE(outcome.passed);
  EXPECT_EQ(outcome.result,
            L"ERR: Invalid use of Null (94) at 0 params: ---0- type: Double-Date-Date- pat=");
}

TEST_F(CheckRunTest, ABadPasswordEncodingEndsInTheErrorReport) {
  const auto outcome = Run(L"#FILE=\\\\srv\\s\\a.log#AUTH=T#PWD==YWJ#");
  EXPECT_EQ(outcome.result.value().rfind(L"ERR: Invalid procedure call or argument (5)", 0), 0u);
  EXPECT_TRUE(network.Connected().empty());
}

TEST_F(CheckRunTest, AMonthNameTheLocaleCannotReadIsShownAsItStands) {
  registry.Set(L"12", std::wstring(L"Dezember", 9));
  AddFileWrittenAt(L"a.log", 9, 0, 0);
  const auto outcome = Run(L"#FILE=C:\\data\\a.log#WHT=WDATE#UNIT=N#");
  EXPECT_FALSE(outcome.passed);
  EXPECT_EQ(outcome.result,
            L"ERR: Type mismatch (13) at 0 params: N-7-Dezember-2026 9:0:0-7-Dezember-2026 "
            L"10:0:0-0- type: Double-String-String- pat=C:\\data\\a.log");
}

TEST_F(CheckRunTest, MonthNamesComeFromTheRegistryAtEveryCheck) {
  AddFileWrittenAt(L"a.log", 9, 0, 0);
  registry.Set(L"12", std::wstring(L"Dez", 4));
  automation.AcceptMonthName(L"Dez", 12);
  const auto outcome = Run(L"#FILE=C:\\data\\a.log#WHT=WDATE#UNIT=N#DBG=T#");
  EXPECT_EQ(outcome.result,
            L"C:\\data\\a.log was written 60 minutes ago (ID=7-Dez-2026 9:0:0  - N=7-Dez-2026 10:0:0)");
}

// --- placeholders -------------------------------------------------------------------

TEST_F(CheckRunTest, ExpandsAPlaceholderInThePathAndOneInTheFileName) {
  files.AddDirectory(L"C:\\logs\\2026");
  files.AddFile(L"C:\\logs\\2026", L"app20261206.log", 7);
  const auto outcome =
      Run(L"#FILE=C:\\logs\\{yyyy}\\app{yyyymmdd -1d}.log#WHT=SIZE#CMP=GT#VAL=9#UNIT=B#");
  EXPECT_EQ(outcome.result, L"Size of C:\\logs\\2026\\app20261206.log is 7 B");
  EXPECT_TRUE(outcome.passed);
}

// --- authentication -----------------------------------------------------------------

TEST_F(CheckRunTest, ARefusedConnectionEndsTheCheckWithItsErrorText) {
  network.addResult = 1326;
  const auto outcome = Run(L"#FILE=\\\\srv\\share\\a.log#WHT=SIZE#AUTH=T#USR=u#PWD=" +
                           EncodePassword(L"secret") + L"#");
  EXPECT_FALSE(outcome.passed);
  EXPECT_EQ(outcome.result, L"The user name or password is incorrect.");
  EXPECT_TRUE(trace.lines.empty());
  EXPECT_EQ(network.Connected(), std::vector<std::string>{"\\\\srv\\ipc$"});
  EXPECT_EQ(network.calls.at(1).password, "secret");
  // Cancelled before connecting, and again after the refusal.
  EXPECT_EQ(network.Cancelled(), (std::vector<std::string>{"\\\\srv\\IPC$", "\\\\srv\\IPC$"}));
}

TEST_F(CheckRunTest, AConnectionIsCancelledAtTheEndOfEveryCheckThatMadeIt) {
  files.AddFile(L"\\\\srv\\share", L"a.log", 5);
  Run(L"#FILE=\\\\srv\\share\\a.log#WHT=SIZE#UNIT=B#AUTH=T#USR=u#PWD=#");
  EXPECT_EQ(network.Cancelled().size(), 2u);

  network.calls.clear();
  // The second placeholder fails after the connection was made.
  const auto failed = Run(L"#FILE=\\\\srv\\share\\{yyyy}\\{yyyy -1}#AUTH=T#");
  EXPECT_EQ(failed.result.value().rfind(L"ERR: ", 0), 0u);
  EXPECT_EQ(network.Cancelled().size(), 2u);
}

TEST_F(CheckRunTest, ACancelThatRunsOutOfMemoryLeavesTheCheckItsResult) {
  files.AddFile(L"\\\\srv\\share", L"a.log", 5);
  network.cancelAfterConnectingRunsOutOfMemory = true;
  const auto outcome = Run(L"#FILE=\\\\srv\\share\\a.log#WHT=SIZE#UNIT=B#AUTH=T#USR=u#PWD=#");
  EXPECT_EQ(outcome.result, L"Size of \\\\srv\\share\\a.log is 5 B");
}

TEST_F(CheckRunTest, AuthenticationNeedsAPathToNameTheServer) {
  const auto outcome = Run(L"#AUTH=T#");
  EXPECT_EQ(outcome.result,
            L"ERR: Subscript out of range (9) at 0 params: ---0- type: Double-Date-Date- pat=");
  EXPECT_TRUE(network.Connected().empty());
}

TEST_F(CheckRunTest, ALocalPathWithAuthenticationConnectsToTheDrive) {
  network.addResult = 67;
  files.SetMessage(67, L"The network name cannot be found.\r\n");
  const auto outcome = Run(L"#FILE=C:\\data\\a.log#AUTH=T#");
  EXPECT_EQ(network.Connected(), std::vector<std::string>{"\\\\C:\\ipc$"});
  EXPECT_EQ(outcome.result, L"The network name cannot be found.");
}

TEST_F(CheckRunTest, ThePasswordAppearsInNoTraceOrResult) {
  files.AddFile(L"\\\\srv\\share", L"a.log", 5);
  const std::wstring password = L"Pa55word!";
  for (const wchar_t* what : {L"SIZE", L"WDATE", L"OLDWRITE", L"BAD"}) {
    Run(std::wstring(L"#FILE=\\\\srv\\share\\*.log#WHT=") + what +
        L"#UNIT=N#AUTH=T#USR=dom\\u#PWD=" + EncodePassword(password) + L"#");
    const auto outcome = Run(std::wstring(L"#FILE=\\\\srv\\share\\{yyyy -1}#WHT=") + what +
                             L"#AUTH=T#PWD=" + EncodePassword(password) + L"#");
    EXPECT_EQ(outcome.result.value_or(L"").find(password), std::wstring::npos);
  }
  for (const auto& line : trace.lines) EXPECT_EQ(line.find(password), std::wstring::npos) << line.size();
}

}  // namespace
}  // namespace quarnel

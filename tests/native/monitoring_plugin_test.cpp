#include "host/monitoring_plugin.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "fake_automation.h"
#include "fake_machine.h"
#include "plugin/check_run.h"
#include "params/parameter_vocabulary.h"
#include "plugin/evaluation.h"
#include "plugin/result_text.h"
#include "registry/month_names.h"
#include "support/ole_date.h"

namespace quarnel {
namespace {

const std::wstring kNoText = L"\x1F";  // stands for an Empty sa_result in the table

CheckReading SizeReading(double bytes, double shownSize) {
  CheckReading reading;
  reading.finding = CheckReading::Finding::Size;
  reading.bytes = bytes;
  reading.shownSize = shownSize;
  return reading;
}

CheckReading AgeReading(std::int32_t age, std::int64_t minutes, std::int32_t nowMinuteOfDay) {
  CheckReading reading;
  reading.finding = CheckReading::Finding::Age;
  reading.age = age;
  reading.minutes = minutes;
  reading.nowMinuteOfDay = nowMinuteOfDay;
  return reading;
}

CheckReading NothingFound(std::uint32_t code) {
  CheckReading reading;
  reading.finding = CheckReading::Finding::NothingFound;
  reading.systemCode = code;
  return reading;
}

const CheckReading kNoReading;

TEST(MonitoringPlugin, ReportsEachOutcomeWithItsLineAndState) {
  const struct {
    std::wstring parameterString;
    bool passed;
    std::wstring result;
    CheckReading reading;
    PluginState state;
    std::wstring line;
  } cases[] = {
      // Measured: OK or CRITICAL, with the size in bytes or the age in its unit.
      {L"#FILE=C:\\a\\*.log#WHT=SIZE#CMP=GT#VAL=2#UNIT=KB#", true, L"Size of C:\\a\\*.log is 1.5 KB",
       SizeReading(1530, 1.5), PluginState::Ok,
       L"QUARNEL OK - Size of C:\\a\\*.log is 1.5 KB | 'size'=1530B;;~:2099;0"},
      {L"#FILE=C:\\a.log#CMP=LT#VAL=100#UNIT=B#", false, L"Size of C:\\a.log is 10 B",
       SizeReading(10, 10), PluginState::Critical,
       L"QUARNEL CRITICAL - Size of C:\\a.log is 10 B | 'size'=10B;;100:;0"},
      {L"#FILE=C:\\a.log#CMP=EQ#VAL=0#UNIT=MB#", false, L"Size of C:\\a.log is 0 MB", SizeReading(0, 0),
       PluginState::Critical, L"QUARNEL CRITICAL - Size of C:\\a.log is 0 MB | 'size'=0B;;@52428;0"},
      {L"#FILE=C:\\is is.log#CMP=NQ#VAL=1.5#UNIT=KB#", true, L"Size of C:\\is is.log is 1,5 KB",
       SizeReading(1536, 1.5), PluginState::Ok,
       L"QUARNEL OK - Size of C:\\is is.log is 1,5 KB | 'size'=1536B;;1485:1587;0"},
      {L"#FILE=C:\\a#CMP=XX#UNIT=XB#", false, L"Size of C:\\a is 2047.0 XB", SizeReading(2047, 2047),
       PluginState::Critical, L"QUARNEL CRITICAL - Size of C:\\a is 2047.0 XB | 'size'=2047B;;@~:;0"},
      {L"#FILE=C:\\a.log#WHT=WDATE#CMP=GT#VAL=15#UNIT=N#", false,
       L"C:\\a.log was written 20 minutes ago", AgeReading(20, 20, 600), PluginState::Critical,
       L"QUARNEL CRITICAL - C:\\a.log was written 20 minutes ago | 'age'=1200s;;~:900;0"},
      {L"#FILE=C:\\*.log#WHT=OLDCREA#CMP=LT#VAL=1#UNIT=D#DBG=T#", true,
       L"C:\\b.log was created 3 days ago (ID=1-Jan-2026 0:0:0  - N=4-Jan-2026 1:2:3)",
       AgeReading(3, 4382, 62), PluginState::Ok,
       L"QUARNEL OK - C:\\b.log was created 3 days ago (ID=1-Jan-2026 0:0:0  - N=4-Jan-2026 1:2:3)"
       L" | 'age'=262920s;;3780:;0"},
      // Units without a length in minutes: the age in seconds without ranges.
      {L"#FILE=C:\\a.log#WHT=CDATE#CMP=EQ#VAL=1#UNIT=yyyy#", false,
       L"C:\\a.log was created -1 unknown unit (yyyy) ago", AgeReading(-1, -1, 1439), PluginState::Critical,
       L"QUARNEL CRITICAL - C:\\a.log was created -1 unknown unit (yyyy) ago | 'age'=-60s;;;0"},
      // Nothing found: OK when FNF=T says so, CRITICAL where a file was expected.
      {L"#FILE=C:\\x#FNF=T#", true, L"No matching files", NothingFound(2), PluginState::Ok,
       L"QUARNEL OK - No matching files"},
      {L"#FILE=C:\\x#CMP=GT#UNIT=B#", false, L"ERR: No matching files", NothingFound(2),
       PluginState::Critical, L"QUARNEL CRITICAL - ERR: No matching files"},
      {L"#FILE=C:\\x#WHT=CDATE#", false, L"ERR:The system cannot find the file specified. (2)",
       NothingFound(2), PluginState::Critical,
       L"QUARNEL CRITICAL - ERR:The system cannot find the file specified. (2)"},
      {L"#FILE=C:\\x\\y#WHT=WDATE#", false, L"ERR:The system cannot find the path specified. (3)",
       NothingFound(3), PluginState::Critical,
       L"QUARNEL CRITICAL - ERR:The system cannot find the path specified. (3)"},
      // Could not look or could not measure: UNKNOWN, without performance data.
      {L"#FILE=C:\\x#WHT=WDATE#", false, L"ERR:Access is denied. (5)", kNoReading, PluginState::Unknown,
       L"QUARNEL UNKNOWN - ERR:Access is denied. (5)"},
      {L"#FILE=C:\\x#WHT=SIZE#", false, L"ERR:The system cannot find the file specified. (2)", kNoReading,
       PluginState::Unknown, L"QUARNEL UNKNOWN - ERR:The system cannot find the file specified. (2)"},
      {L"#FILE=\\\\srv\\s\\x#AUTH=T#", false, L"The user name or password is incorrect.", kNoReading,
       PluginState::Unknown, L"QUARNEL UNKNOWN - The user name or password is incorrect."},
      {L"#FILE=C:\\x (2)#WHT=CDATE#", false,
       L"ERR: Type mismatch (13) at 0 params: N-a-b-0- type: Double-Date-Date- pat=C:\\x (2)", kNoReading,
       PluginState::Unknown,
       L"QUARNEL UNKNOWN - ERR: Type mismatch (13) at 0 params: N-a-b-0- type: Double-Date-Date- pat=C:\\x (2)"},
      {L"#FILE=C:\\*.x#WHT=OLDWRITE#", false, kNoText, NothingFound(18), PluginState::Unknown,
       L"QUARNEL UNKNOWN - (no result text: the check measured nothing)"},
      // A passed check that measured nothing: never OK, whatever its text.
      {L"#FILE=C:\\a.log#CMP=GT#VAL=2#UNIT=MB#", true, L"Taille de C:\\a.log : 2,5 Mo", kNoReading,
       PluginState::Unknown, L"QUARNEL UNKNOWN - Taille de C:\\a.log : 2,5 Mo"},
      {L"#FILE=C:\\a\x0d.log#UNIT=B#", false, L"Size of C:\\a\x0d\x0a.log was", kNoReading,
       PluginState::Unknown, L"QUARNEL UNKNOWN - Size of C:\\a  .log was"},
  };
  for (const auto& c : cases) {
    const std::optional<std::wstring> result =
        c.result == kNoText ? std::nullopt : std::optional<std::wstring>(c.result);
    const PluginReport report = ReportCheck(c.parameterString, c.passed, result, c.reading);
    EXPECT_EQ(report.line, c.line) << testing::PrintToString(c.parameterString);
    EXPECT_EQ(report.state, c.state) << testing::PrintToString(c.parameterString);
  }
}

TEST(MonitoringPlugin, ACheckThatDidNotRunIsUnknown) {
  const PluginReport report = ReportFailure(L"the check did not return within 60 s");
  EXPECT_EQ(report.state, PluginState::Unknown);
  EXPECT_EQ(report.line, L"QUARNEL UNKNOWN - the check did not return within 60 s");
}

TEST(MonitoringPlugin, AParameterStringThatNamesNoCheckIsUnknownInTheLintsWords) {
  const struct {
    const wchar_t* parameterString;
    const wchar_t* line;  // empty: it names a check
  } cases[] = {
      {L"#WHT=SIZE#CMP=GT#", L"QUARNEL UNKNOWN - there is no FILE key: the check has no path to look at"},
      {L"#FILE=#", L"QUARNEL UNKNOWN - FILE is empty: the check has no path to look at"},
      {L"#FILE=C:\\a#WHT=size#",
       L"QUARNEL UNKNOWN - WHT 'size' is not one of SIZE, CDATE, WDATE, OLDCREA, YOUCREA, OLDWRITE, "
       L"YOUWRITE, COUNT (letter case counts): the check measures nothing and its result is Empty"},
      {L"#WHT=AGE#", L"QUARNEL UNKNOWN - there is no FILE key: the check has no path to look at; WHT "
                     L"'AGE' is not one of SIZE, CDATE, WDATE, OLDCREA, YOUCREA, OLDWRITE, YOUWRITE, COUNT: "
                     L"the check measures nothing and its result is Empty"},
      {L"#FILE=a.log#CMP=XX#UNIT=Q#FNF=x#", L""},
      {L"#FILE=C:\\a#WHT=#", L""},
  };
  for (const auto& c : cases) {
    const auto report = ReportNoCheckNamed(c.parameterString);
    if (*c.line == L'\0') {
      EXPECT_FALSE(report) << testing::PrintToString(std::wstring(c.parameterString));
      continue;
    }
    ASSERT_TRUE(report) << testing::PrintToString(std::wstring(c.parameterString));
    EXPECT_EQ(report->state, PluginState::Unknown);
    EXPECT_EQ(report->line, c.line);
  }
}

TEST(AlertRange, ReadsTheGuidelinesSyntaxAndAlertsOutsideOrInside) {
  const struct {
    const wchar_t* text;
    std::vector<double> alerting, quiet;
  } cases[] = {
      {L"10", {-1, 10.5}, {0, 5, 10}},
      {L"10:", {9.9, -1}, {10, 1e300}},
      {L"~:10", {10.1}, {-1e300, 10}},
      {L"10:20", {9.99, 20.01}, {10, 15, 20}},
      {L"@10:20", {10, 15, 20}, {9.99, 20.01}},
      {L"@0:0", {0}, {-0.1, 0.1}},
      {L"-5:+1.5", {-5.5, 2}, {-5, 1.5}},
      {L"~:", {}, {-1e300, 1e300}},
      {L"@~:", {-1e300, 0, 1e300}, {}},
      // As the Monitoring Plugins library reads them: ":10" is 0:10, "~" is 0:0.
      {L":10", {-0.5, 10.5}, {0, 10}},
      {L"~", {-1, 1}, {0}},
      {L"0.1:0.3", {0.09, 0.31}, {0.1, 0.3}},
      {L"9007199254740992", {9007199254740994.0}, {9007199254740992.0}},
  };
  for (const auto& c : cases) {
    const ParsedRange parsed = ParseAlertRange(c.text);
    ASSERT_TRUE(parsed.range) << testing::PrintToString(std::wstring(c.text));
    // Written back for the performance data, it is the same range.
    const ParsedRange again = ParseAlertRange(AlertRangeText(*parsed.range));
    ASSERT_TRUE(again.range) << testing::PrintToString(AlertRangeText(*parsed.range));
    for (const AlertRange& range : {*parsed.range, *again.range}) {
      for (double value : c.alerting) EXPECT_TRUE(range.Alerts(value)) << value << " in " << testing::PrintToString(std::wstring(c.text));
      for (double value : c.quiet) EXPECT_FALSE(range.Alerts(value)) << value << " in " << testing::PrintToString(std::wstring(c.text));
    }
  }
  const std::wstring tooFine = L"0." + std::wstring(9999, L'0') + L"1";
  const std::wstring notHeld =
      L"has a number with too many digits, or too large or too small, to be held exactly";
  const struct {
    std::wstring text;
    std::wstring problem;
  } malformed[] = {
      {tooFine, notHeld},
      {L"1:" + tooFine, notHeld},
      {L"9007199254740993", notHeld},
      {L"1" + std::wstring(400, L'0') + L":", notHeld},
      {L"", L"is empty"},
      {L"abc", L"has no number as its end"},
      {L"10:5", L"starts above its end"},
      {L"-10", L"starts above its end"},
      {L"@", L"has no end"},
      {L"1:2:3", L"has more than one ':'"},
      {L"x:5", L"has no number or '~' before its ':'"},
      {L"~~", L"has no number as its end"},
      {L"10,5", L"has no number as its end"},
      {L"1e3", L"has no number as its end"},
      {L"5:.", L"has no number as its end"},
      {L"@@1", L"has no number as its end"},
  };
  for (const auto& m : malformed) {
    const ParsedRange parsed = ParseAlertRange(m.text);
    EXPECT_FALSE(parsed.range) << testing::PrintToString(m.text.substr(0, 40));
    EXPECT_EQ(parsed.problem, m.problem) << testing::PrintToString(m.text.substr(0, 40));
  }
}

AlertRange RangeOf(const wchar_t* text) { return *ParseAlertRange(text).range; }

// The levels of two range texts, an empty one not given.
AlertLevels LevelsOf(const wchar_t* warning, const wchar_t* critical) {
  const auto level = [](const wchar_t* text) {
    return *text ? std::optional<AlertRange>(RangeOf(text)) : std::nullopt;
  };
  return {level(warning), level(critical)};
}

// The state that a report's performance data give: the value against the
// critical range, then against the warning range.
std::optional<PluginState> PerformanceState(const std::wstring& line) {
  const auto bar = line.find(L" | ");
  if (bar == std::wstring::npos) return std::nullopt;
  std::vector<std::wstring> fields;
  std::wstring data = line.substr(line.find(L'=', bar) + 1) + L";";
  for (size_t start = 0, end; (end = data.find(L';', start)) != std::wstring::npos; start = end + 1) {
    fields.push_back(data.substr(start, end - start));
  }
  const double value = std::stod(fields[0]);
  const auto alerts = [&](size_t field) {
    return fields.size() > field && !fields[field].empty() && RangeOf(fields[field].c_str()).Alerts(value);
  };
  return alerts(2) ? PluginState::Critical : alerts(1) ? PluginState::Warning : PluginState::Ok;
}

// Checks run on a fake machine as the host runs them for its report: one
// check, its text and its reading.
class PluginReportTest : public ::testing::Test {
 protected:
  PluginReportTest() { clock.now = OleDateFromFields({2026, 12, 7, 10, 0, 0}); }

  CheckOutcome Run(const std::wstring& parameterString) {
    CheckMachine machine{trace, files, network, registry, months, automation, clock};
    return RunCheck([&] { return parameterString; }, machine);
  }

  PluginReport Report(const std::wstring& parameterString, const AlertLevels& levels) {
    const CheckOutcome outcome = Run(parameterString);
    return ReportCheck(parameterString, outcome.passed, outcome.result, outcome.reading, levels);
  }

  // The report's state, which its performance data must give too, and those
  // data themselves when `performanceData` is given.
  void ExpectReport(const std::wstring& parameterString, const AlertLevels& levels,
                    PluginState state, const wchar_t* performanceData = nullptr) {
    const PluginReport report = Report(parameterString, levels);
    SCOPED_TRACE(testing::PrintToString(report.line));
    EXPECT_EQ(report.state, state);
    EXPECT_EQ(PerformanceState(report.line), state);
    if (performanceData) EXPECT_EQ(report.line.substr(report.line.find(L" | ") + 3), performanceData);
  }

  void PutFile(std::uint64_t bytes, int day, int hour, int minute, int second) {
    files = fake::FakeFileSystem();
    const auto time = files.LocalFileTime(2026, 12, day, hour, minute, second);
    files.AddFile(L"C:\\data", L"a.log", bytes, time, time);
  }

  fake::FakeFileSystem files;
  fake::FakeRegistry registry;
  fake::RecordingTraceSink trace;
  MonthNameTable months;
  FakeAutomation automation;
  FixedClock clock;
  fake::RecordingNetwork network;
};

// The reading is what the text shows, and the numbers it was made from:
// every kind, every unit, with "." and "," as the decimal point, with and
// without the debug part; and a check that found nothing names what it
// searched and what the system answered.
TEST_F(PluginReportTest, TheReadingIsWhatTheCheckMeasuredAndItsTextShows) {
  for (const wchar_t* decimal : {L".", L","}) {
    automation.decimalSeparator = decimal;
    for (const wchar_t* unit : {L"B", L"KB", L"MB", L"GB", L"TB", L"XB"}) {
      for (std::uint64_t bytes : {0ull, 1ull, 1126ull, 1536ull, 5ull << 30, 3ull << 40, 10538189ull}) {
        PutFile(bytes, 6, 1, 2, 3);
        const CheckOutcome outcome = Run(std::wstring(L"#FILE=C:\\data\\a.log#CMP=GT#UNIT=") + unit + L"#");
        SCOPED_TRACE(testing::PrintToString(*outcome.result));
        ASSERT_EQ(outcome.reading.finding, CheckReading::Finding::Size);
        EXPECT_EQ(outcome.reading.shownSize,
                  ShownSize(static_cast<double>(bytes) / SizeUnitDivisor(unit), unit));
        EXPECT_EQ(outcome.reading.bytes, static_cast<double>(bytes));
      }
    }
  }
  PutFile(1, 6, 23, 59, 59);  // now is 7 December 10:00:00
  const struct {
    const wchar_t* unit;
    std::int32_t age;
  } ages[] = {{L"N", 601}, {L"H", 11}, {L"D", 1}, {L"n", 601}, {L"yyyy", 0}, {L"s", 36001}};
  for (const wchar_t* what : {L"CDATE", L"WDATE", L"OLDCREA", L"OLDWRITE", L"YOUCREA", L"YOUWRITE"}) {
    for (const auto& a : ages) {
      for (bool debug : {false, true}) {
        const CheckOutcome outcome = Run(std::wstring(L"#FILE=C:\\data\\a.log#WHT=") + what + L"#UNIT=" +
                                         a.unit + L"#DBG=" + (debug ? L"T" : L"F") + L"#");
        SCOPED_TRACE(testing::PrintToString(*outcome.result));
        ASSERT_EQ(outcome.reading.finding, CheckReading::Finding::Age);
        EXPECT_EQ(outcome.reading.age, a.age);
        EXPECT_EQ(outcome.reading.minutes, 601);
        EXPECT_EQ(outcome.reading.nowMinuteOfDay, 10 * 60);
      }
    }
  }
  const struct {
    const wchar_t* parameterString;
    const wchar_t* searched;
    std::uint32_t code;
  } nothing[] = {
      {L"#FILE=C:\\data\\*.zzz#", L"C:\\data\\*.zzz", fake::kErrorFileNotFound},
      {L"#FILE=C:\\data\\b.log#WHT=WDATE#FNF=T#", L"C:\\data\\b.log", fake::kErrorFileNotFound},
      {L"#FILE=C:\\gone\\*.log#WHT=OLDWRITE#", L"C:\\gone\\*.log", fake::kErrorPathNotFound},
  };
  for (const auto& n : nothing) {
    const CheckOutcome outcome = Run(n.parameterString);
    SCOPED_TRACE(testing::PrintToString(std::wstring(n.parameterString)));
    ASSERT_EQ(outcome.reading.finding, CheckReading::Finding::NothingFound);
    EXPECT_EQ(outcome.reading.searchedPath, n.searched);
    EXPECT_EQ(outcome.reading.systemCode, n.code);
  }
}

// Around each edge of the ranges, the reported state is the ranges' on the
// value in the check's unit, and the performance data give the same state.
TEST_F(PluginReportTest, TheRangesDecideAndThePerformanceDataAgreeAroundEveryEdge) {
  const struct {
    const wchar_t* unit;
    const wchar_t* warning;  // empty: not given
    const wchar_t* critical;
    std::uint64_t bytes;
    PluginState state;
    const wchar_t* performanceData;
  } sizes[] = {
      // 10.0 MB is shown up to 10.05 MB less a byte.
      {L"MB", L"10", L"20", 10538188, PluginState::Ok, L"'size'=10538188B;10538188;21023948;0"},
      {L"MB", L"10", L"20", 10538189, PluginState::Warning, L"'size'=10538189B;10538188;21023948;0"},
      {L"MB", L"10", L"20", 21023948, PluginState::Warning, nullptr},
      {L"MB", L"10", L"20", 21023949, PluginState::Critical, nullptr},
      {L"MB", L"", L"@0:0", 0, PluginState::Critical, L"'size'=0B;;@52428;0"},
      {L"MB", L"", L"@0:0", 52428, PluginState::Critical, nullptr},
      {L"MB", L"", L"@0:0", 52429, PluginState::Ok, nullptr},
      {L"KB", L"10:", L"", 10188, PluginState::Warning, L"'size'=10188B;10189:;;0"},
      {L"KB", L"10:", L"", 10189, PluginState::Ok, nullptr},
      {L"KB", L"", L"5.01:5.05", 5170, PluginState::Critical, L"'size'=5170B;;@~:;0"},  // no size shows in it
      {L"B", L"~:99", L"@100:200", 99, PluginState::Ok, L"'size'=99B;~:99;@100:200;0"},
      {L"B", L"~:99", L"@100:200", 100, PluginState::Critical, nullptr},
      {L"B", L"~:99", L"@100:200", 201, PluginState::Warning, nullptr},
      {L"TB", L"", L"~:-1", 0, PluginState::Critical, L"'size'=0B;;~:-1;0"},
  };
  for (const wchar_t* decimal : {L".", L","}) {
    automation.decimalSeparator = decimal;
    for (const auto& c : sizes) {
      PutFile(c.bytes, 6, 1, 2, 3);
      ExpectReport(std::wstring(L"#FILE=C:\\data\\a.log#CMP=LT#VAL=1e9#UNIT=") + c.unit + L"#",
                   LevelsOf(c.warning, c.critical), c.state, c.performanceData);
    }
  }

  // Now is 7 December 10:00:00. An hour's boundary is the full hour; a day's
  // is midnight, 600 minutes ago: 0 to 1 days are -839 to 2040 minutes.
  const struct {
    const wchar_t* unit;
    const wchar_t* warning;
    const wchar_t* critical;
    int day, hour, minute, second;
    PluginState state;
    const wchar_t* performanceData;
  } ages[] = {
      {L"D", L"1", L"~:2", 6, 0, 0, 0, PluginState::Ok, L"'age'=122400s;-50340:122400;~:208800;0"},
      {L"D", L"1", L"~:2", 5, 23, 59, 59, PluginState::Warning, L"'age'=122460s;-50340:122400;~:208800;0"},
      {L"D", L"1", L"~:2", 5, 0, 0, 0, PluginState::Warning, nullptr},
      {L"D", L"1", L"~:2", 4, 23, 59, 0, PluginState::Critical, nullptr},
      {L"D", L"", L"@~:-1", 8, 0, 0, 0, PluginState::Critical, L"'age'=-50400s;;@~:-50400;0"},
      {L"D", L"", L"@~:-1", 7, 23, 59, 59, PluginState::Ok, nullptr},
      {L"H", L"5:", L"", 7, 5, 0, 0, PluginState::Ok, L"'age'=18000s;14460:;;0"},
      {L"H", L"5:", L"", 7, 6, 0, 0, PluginState::Warning, L"'age'=14400s;14460:;;0"},
      {L"H", L"5:", L"", 7, 4, 59, 59, PluginState::Ok, nullptr},
      {L"N", L"10", L"30", 7, 9, 50, 0, PluginState::Ok, L"'age'=600s;600;1800;0"},
      {L"N", L"10", L"30", 7, 9, 49, 59, PluginState::Warning, L"'age'=660s;600;1800;0"},
      {L"N", L"10", L"30", 7, 9, 29, 59, PluginState::Critical, nullptr},
  };
  for (const auto& c : ages) {
    PutFile(1, c.day, c.hour, c.minute, c.second);
    ExpectReport(std::wstring(L"#FILE=C:\\data\\a.log#WHT=WDATE#CMP=LT#VAL=0#UNIT=") + c.unit + L"#",
                 LevelsOf(c.warning, c.critical), c.state, c.performanceData);
  }
}

// A count of files: its number as it is, the ranges on it as given; without
// ranges the comparison is the critical range. A folder that is not there
// is CRITICAL, as a size that finds nothing.
TEST_F(PluginReportTest, ACountReportsTheNumberOfFilesWithTheRangesApplied) {
  PutFile(1, 6, 1, 2, 3);
  files.AddFile(L"C:\\data\\in", L"b.log");
  files.AddFile(L"C:\\data\\in", L"c.log");
  const struct {
    const wchar_t* parameters;
    const wchar_t* warning;
    const wchar_t* critical;
    PluginState state;
    const wchar_t* line;
  } cases[] = {
      {L"#WHT=COUNT#CMP=GT#VAL=1000#SUB=T#", L"~:1", L"~:5", PluginState::Warning,
       L"QUARNEL WARNING - Number of files matching C:\\data\\*.log is 3 | 'count'=3;~:1;~:5;0"},
      {L"#WHT=COUNT#CMP=GT#VAL=2#SUB=T#", L"", L"", PluginState::Critical,
       L"QUARNEL CRITICAL - Number of files matching C:\\data\\*.log is 3 | 'count'=3;;~:2;0"},
      {L"#WHT=COUNT#CMP=LT#VAL=1#", L"", L"", PluginState::Ok,
       L"QUARNEL OK - Number of files matching C:\\data\\*.log is 1 | 'count'=1;;1:;0"},
  };
  for (const auto& c : cases) {
    const PluginReport report =
        Report(std::wstring(L"#FILE=C:\\data\\*.log") + c.parameters, LevelsOf(c.warning, c.critical));
    EXPECT_EQ(report.line, c.line);
    EXPECT_EQ(report.state, c.state);
  }
  const PluginReport missing = Report(L"#FILE=C:\\none\\*.log#WHT=COUNT#CMP=LT#VAL=1#", {});
  EXPECT_EQ(missing.line, L"QUARNEL CRITICAL - ERR: No matching files");
}

// Without ranges, the parameter string's comparison decides as before, and
// its threshold is the critical range of the performance data.
TEST_F(PluginReportTest, WithoutRangesTheComparisonDecidesAndIsTheCriticalRange) {
  const struct {
    const wchar_t* parameterString;
    std::uint64_t bytes;
    PluginState state;
  } cases[] = {
      {L"#CMP=GT#VAL=2#UNIT=KB#", 2099, PluginState::Ok},
      {L"#CMP=GT#VAL=2#UNIT=KB#", 2100, PluginState::Critical},
      {L"#CMP=LT#VAL=1.5#UNIT=KB#", 1484, PluginState::Critical},
      {L"#CMP=LT#VAL=1.5#UNIT=KB#", 1485, PluginState::Ok},
      {L"#CMP=EQ#VAL=1.1#UNIT=KB#", 1126, PluginState::Critical},
      {L"#CMP=EQ#VAL=1.1#UNIT=KB#", 1075, PluginState::Ok},
      {L"#CMP=NQ#VAL=1#UNIT=GB#", 1ull << 30, PluginState::Ok},
      {L"#CMP=NQ#VAL=1#UNIT=GB#", (1ull << 30) + 53687092, PluginState::Critical},
      {L"#CMP=XX#VAL=1#UNIT=B#", 1, PluginState::Critical},
  };
  for (const auto& c : cases) {
    PutFile(c.bytes, 6, 1, 2, 3);
    ExpectReport(std::wstring(L"#FILE=C:\\data\\a.log") + c.parameterString, {}, c.state);
  }
}

}  // namespace
}  // namespace quarnel

#include "host/monitoring_plugin.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quarnel {
namespace {

const std::wstring kNoText = L"\x1F";  // stands for an Empty sa_result in the table

TEST(MonitoringPlugin, ReportsEachOutcomeWithItsLineAndState) {
  const struct {
    std::wstring parameterString;
    bool passed;
    std::wstring result;
    PluginState state;
    std::wstring line;
    std::wstring byteCountResult = kNoText;
  } cases[] = {
      // Measured: OK or CRITICAL, with the size in bytes or the age in its unit.
      {L"#FILE=C:\\a\\*.log#WHT=SIZE#CMP=GT#VAL=2#UNIT=KB#", true, L"Size of C:\\a\\*.log is 1.5 KB",
       PluginState::Ok, L"QUARNEL OK - Size of C:\\a\\*.log is 1.5 KB | 'size'=1530B;;~:2048;0",
       L"Size of C:\\a\\*.log is 1530 B"},
      // Without the second look's total in bytes: no performance data, the same state.
      {L"#FILE=C:\\a.log#CMP=GT#VAL=2#UNIT=MB#", false, L"Size of C:\\a.log is 2.5 MB",
       PluginState::Critical, L"QUARNEL CRITICAL - Size of C:\\a.log is 2.5 MB"},
      {L"#FILE=C:\\a.log#CMP=LT#VAL=100#UNIT=B#", false, L"Size of C:\\a.log is 10 B",
       PluginState::Critical, L"QUARNEL CRITICAL - Size of C:\\a.log is 10 B | 'size'=10B;;100:;0"},
      {L"#FILE=C:\\a.log#CMP=EQ#VAL=0#UNIT=MB#", false, L"Size of C:\\a.log is 0 MB",
       PluginState::Critical, L"QUARNEL CRITICAL - Size of C:\\a.log is 0 MB | 'size'=0B;;@0:0;0",
       L"Size of C:\\a.log is 0 B"},
      {L"#FILE=C:\\is is.log#CMP=NQ#VAL=1.5#UNIT=KB#", true, L"Size of C:\\is is.log is 1,5 KB",
       PluginState::Ok, L"QUARNEL OK - Size of C:\\is is.log is 1,5 KB | 'size'=1536B;;1536:1536;0",
       L"Size of C:\\is is.log is 1536 B"},
      {L"#FILE=C:\\a#CMP=XX#UNIT=XB#", false, L"Size of C:\\a is 2047.0 XB", PluginState::Critical,
       L"QUARNEL CRITICAL - Size of C:\\a is 2047.0 XB | 'size'=2047B;;;0"},
      {L"#FILE=C:\\a.log#WHT=WDATE#CMP=GT#VAL=15#UNIT=N#", false,
       L"C:\\a.log was written 20 minutes ago", PluginState::Critical,
       L"QUARNEL CRITICAL - C:\\a.log was written 20 minutes ago | 'age_minutes'=20;;~:15"},
      {L"#FILE=C:\\*.log#WHT=OLDCREA#CMP=LT#VAL=1#UNIT=D#DBG=T#", true,
       L"C:\\b.log was created 3 days ago (ID=1-Jan-2026 0:0:0  - N=4-Jan-2026 1:2:3)", PluginState::Ok,
       L"QUARNEL OK - C:\\b.log was created 3 days ago (ID=1-Jan-2026 0:0:0  - N=4-Jan-2026 1:2:3)"
       L" | 'age_days'=3;;1:"},
      {L"#FILE=C:\\a.log#WHT=CDATE#CMP=EQ#VAL=1#UNIT=yyyy#", false,
       L"C:\\a.log was created -1 unknown unit (yyyy) ago", PluginState::Critical,
       L"QUARNEL CRITICAL - C:\\a.log was created -1 unknown unit (yyyy) ago | 'age_yyyy'=-1"},
      // Nothing found: OK when FNF=T says so, CRITICAL where a file was expected.
      {L"#FILE=C:\\x#FNF=T#", true, L"No matching files", PluginState::Ok,
       L"QUARNEL OK - No matching files"},
      {L"#FILE=C:\\x#CMP=GT#UNIT=B#", false, L"ERR: No matching files", PluginState::Critical,
       L"QUARNEL CRITICAL - ERR: No matching files"},
      {L"#FILE=C:\\x#WHT=CDATE#", false, L"ERR:The system cannot find the file specified. (2)",
       PluginState::Critical, L"QUARNEL CRITICAL - ERR:The system cannot find the file specified. (2)"},
      {L"#FILE=C:\\x\\y#WHT=WDATE#", false, L"ERR:The system cannot find the path specified. (3)",
       PluginState::Critical, L"QUARNEL CRITICAL - ERR:The system cannot find the path specified. (3)"},
      // Could not look or could not measure: UNKNOWN, without performance data.
      {L"#FILE=C:\\x#WHT=WDATE#", false, L"ERR:Access is denied. (5)", PluginState::Unknown,
       L"QUARNEL UNKNOWN - ERR:Access is denied. (5)"},
      {L"#FILE=C:\\x#WHT=SIZE#", false, L"ERR:The system cannot find the file specified. (2)",
       PluginState::Unknown, L"QUARNEL UNKNOWN - ERR:The system cannot find the file specified. (2)"},
      {L"#FILE=\\\\srv\\s\\x#AUTH=T#", false, L"The user name or password is incorrect.",
       PluginState::Unknown, L"QUARNEL UNKNOWN - The user name or password is incorrect."},
      {L"#FILE=C:\\x (2)#WHT=CDATE#", false,
       L"ERR: Type mismatch (13) at 0 params: N-a-b-0- type: Double-Date-Date- pat=C:\\x (2)",
       PluginState::Unknown,
       L"QUARNEL UNKNOWN - ERR: Type mismatch (13) at 0 params: N-a-b-0- type: Double-Date-Date- pat=C:\\x (2)"},
      {L"#FILE=C:\\*.x#WHT=OLDWRITE#", false, kNoText, PluginState::Unknown,
       L"QUARNEL UNKNOWN - (no result text: the check measured nothing)"},
      {L"#FILE=C:\\a\x0d.log#UNIT=B#", false, L"Size of C:\\a\x0d\x0a.log was", PluginState::Unknown,
       L"QUARNEL UNKNOWN - Size of C:\\a  .log was"},
  };
  for (const auto& c : cases) {
    const std::optional<std::wstring> result =
        c.result == kNoText ? std::nullopt : std::optional<std::wstring>(c.result);
    const std::optional<std::wstring> byteCountResult =
        c.byteCountResult == kNoText ? std::nullopt : std::optional<std::wstring>(c.byteCountResult);
    const PluginReport report = ReportCheck(c.parameterString, c.passed, result, byteCountResult);
    EXPECT_EQ(report.line, c.line) << testing::PrintToString(c.parameterString);
    EXPECT_EQ(report.state, c.state) << testing::PrintToString(c.parameterString);
  }
}

TEST(MonitoringPlugin, LooksAgainInBytesOnlyForASizeInAUnitOfItsOwn) {
  EXPECT_EQ(ByteCountCheck(L"#FILE=C:\\a#UNIT=KB#"), L"#UNIT=B#~#FILE=C:\\a#UNIT=KB#");
  EXPECT_EQ(ByteCountCheck(L"FILE=x#WHT=SIZE#UNIT=TB"), L"#UNIT=B#~FILE=x#WHT=SIZE#UNIT=TB");
  for (const wchar_t* bytesAlready : {L"#FILE=C:\\a#UNIT=B#", L"#FILE=C:\\a#UNIT=kb#",
                                      L"#FILE=C:\\a#WHT=CDATE#UNIT=MB#", L"#WHT=size#UNIT=MB#"}) {
    EXPECT_EQ(ByteCountCheck(bytesAlready), std::nullopt) << testing::PrintToString(bytesAlready);
  }
}

TEST(MonitoringPlugin, ACheckThatDidNotRunIsUnknown) {
  const PluginReport report = ReportFailure(L"the check did not return within 60 s");
  EXPECT_EQ(report.state, PluginState::Unknown);
  EXPECT_EQ(report.line, L"QUARNEL UNKNOWN - the check did not return within 60 s");
}

}  // namespace
}  // namespace quarnel

#pragma once
// The check as a Monitoring Plugins program reports it, for Nagios, Icinga,
// NSClient++ and every agent that runs such programs: one line "QUARNEL OK",
// "QUARNEL WARNING", "QUARNEL CRITICAL" or "QUARNEL UNKNOWN", " - ", the
// result text, and performance data after " | "; the exit code says the same.
//
// CRITICAL is a check that looked and found the alarm condition, or found
// nothing where a file was expected (as check_file_age treats a missing
// file); UNKNOWN is a check that could not look or could not measure, or a
// parameter string that names no check.

#include <optional>
#include <string>

#include "host/alert_range.h"
#include "plugin/measurement.h"

namespace quarnel {

enum class PluginState { Ok = 0, Warning = 1, Critical = 2, Unknown = 3 };

struct PluginReport {
  PluginState state;
  std::wstring line;
};

// The warning and critical ranges of the command line. With neither, the
// parameter string's comparison decides between OK and CRITICAL; with
// either, the ranges alone decide, on the size in the parameter string's
// unit as the result text shows it, or on the age in whole units.
struct AlertLevels {
  std::optional<AlertRange> warning;
  std::optional<AlertRange> critical;
};

// The refusal of a parameter string that names no check (no path, or no
// kind): UNKNOWN with the lint's words; nothing for one that names a check.
std::optional<PluginReport> ReportNoCheckNamed(const std::wstring& parameterString);

// The report of a check that ran: its parameter string, its status and its
// result text (nothing when sa_result held no text), the numbers that the
// check measured (`reading`), and the levels. The threshold comes from the
// parameter string, as the check reads it. The performance data give the
// size in bytes and the age in seconds to the minute, with the ranges that
// decided the state in the same units: the performance value alerts
// against them exactly when the measured value did.
PluginReport ReportCheck(const std::wstring& parameterString, bool passed,
                         const std::optional<std::wstring>& result, const CheckReading& reading,
                         const AlertLevels& levels = {});

// The report of a check that could not run or did not return.
PluginReport ReportFailure(const std::wstring& reason);

}  // namespace quarnel

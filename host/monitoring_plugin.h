#pragma once
// The check as a Monitoring Plugins program reports it, for Nagios, Icinga,
// NSClient++ and every agent that runs such programs: one line "QUARNEL OK",
// "QUARNEL CRITICAL" or "QUARNEL UNKNOWN", " - ", the result text, and
// performance data after " | "; the exit code says the same.
//
// CRITICAL is a check that looked and found the alarm condition, or found
// nothing where a file was expected (as check_file_age treats a missing
// file); UNKNOWN is a check that could not look or could not measure.

#include <optional>
#include <string>

namespace quarnel {

enum class PluginState { Ok = 0, Critical = 2, Unknown = 3 };

struct PluginReport {
  PluginState state;
  std::wstring line;
};

// A size check in "KB" to "TB" shows its total only to a tenth of its unit.
// For the total in bytes the host looks a second time, with this parameter
// string: the same check in "B". Nothing for every other check.
std::optional<std::wstring> ByteCountCheck(const std::wstring& parameterString);

// The report of a check that ran: its parameter string, its status and its
// result text (nothing when sa_result held no text), and the result text of
// the ByteCountCheck when there is one. The measured value for the
// performance data is read back from the result text, and the threshold
// from the parameter string, as the check reads them.
PluginReport ReportCheck(const std::wstring& parameterString, bool passed,
                         const std::optional<std::wstring>& result,
                         const std::optional<std::wstring>& byteCountResult = std::nullopt);

// The report of a check that could not run or did not return.
PluginReport ReportFailure(const std::wstring& reason);

}  // namespace quarnel

#include "host/monitoring_plugin.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "params/check_configuration.h"
#include "params/parameter_vocabulary.h"
#include "plugin/measurement.h"
#include "plugin/parameter_lint.h"
#include "plugin/result_text.h"
#include "support/text.h"

namespace quarnel {
namespace {

// The performance data give ages in seconds; the check counts minutes.
constexpr double kSecondsPerMinute = 60.0;

const wchar_t* StateWord(PluginState state) {
  switch (state) {
    case PluginState::Ok: return L"OK";
    case PluginState::Warning: return L"WARNING";
    case PluginState::Critical: return L"CRITICAL";
    case PluginState::Unknown: break;
  }
  return L"UNKNOWN";
}

// The configuration as the check reads it; a threshold too large to read
// leaves none.
CheckConfiguration ConfigurationOf(const std::wstring& parameterString) {
  return ReadConfiguration(parameterString, ConfigurationReader::Report);
}

bool IsDate(const CheckConfiguration& configuration) {
  const Kind* kind = KindOf(configuration.what);
  return kind && IsDate(*kind);
}

const AlertRange kAlwaysAlerts{std::nullopt, std::nullopt, true};

// The parameter string's comparison names the alarm condition: as a range,
// the critical level. A comparison that does not compare (a date check
// compares only "LT" and "GT") always alerts.
AlertRange ComparisonRange(const CheckConfiguration& configuration) {
  if (!configuration.threshold) return kAlwaysAlerts;
  const double threshold = *configuration.threshold;
  const std::wstring& comparison = configuration.comparison;
  if (comparison == compare::kLess) return {threshold, std::nullopt, false};
  if (comparison == compare::kGreater) return {std::nullopt, threshold, false};
  if (IsDate(configuration)) return kAlwaysAlerts;
  if (comparison == compare::kEqual) return {threshold, threshold, true};
  if (comparison == compare::kNotEqual) return {threshold, threshold, false};
  return kAlwaysAlerts;
}

bool LevelsGiven(const AlertLevels& levels) { return levels.warning || levels.critical; }

// The ranges that decide the state.
AlertLevels DecidingRanges(const CheckConfiguration& configuration, const AlertLevels& levels) {
  return LevelsGiven(levels) ? levels : AlertLevels{std::nullopt, ComparisonRange(configuration)};
}

PluginState StateOf(const AlertLevels& levels, bool passed, double value) {
  if (!LevelsGiven(levels)) return passed ? PluginState::Ok : PluginState::Critical;
  if (levels.critical && levels.critical->Alerts(value)) return PluginState::Critical;
  if (levels.warning && levels.warning->Alerts(value)) return PluginState::Warning;
  return PluginState::Ok;
}

// A range of the measured value as a range of the performance value, which
// grows with it: `lastAtMost(x)` is the largest performance value whose
// measured value is at most x, `firstAtLeast(x)` the smallest whose measured
// value is at least x, nothing where there is none.
template <typename LastAtMost, typename FirstAtLeast>
AlertRange Converted(const AlertRange& range, LastAtMost lastAtMost, FirstAtLeast firstAtLeast) {
  AlertRange converted{std::nullopt, std::nullopt, range.alertInside};
  if (range.start) converted.start = firstAtLeast(*range.start);
  if (range.end) converted.end = lastAtMost(*range.end);
  if (converted.start && converted.end && *converted.start > *converted.end) {
    // No performance value lies in the range: inside never alerts, outside always.
    return {std::nullopt, std::nullopt, !range.alertInside};
  }
  return converted;
}

// The fields ";WARN;CRIT" of the performance data.
template <typename Convert>
std::wstring LevelFields(const AlertLevels& ranges, Convert convert) {
  const auto field = [&](const std::optional<AlertRange>& range) {
    return range ? AlertRangeText(convert(*range)) : L"";
  };
  return L";" + field(ranges.warning) + L";" + field(ranges.critical);
}

constexpr std::int64_t kLargestByteCount = std::int64_t{1} << 53;  // whole in a double

// A range of the size as shown in its unit as a range of whole bytes. The
// shown size grows with the byte count, so each edge is the byte count
// where the shown size crosses it, found by bisection.
AlertRange BytesRange(const AlertRange& range, const std::wstring& unit) {
  const double divisor = SizeUnitDivisor(unit);
  const auto shown = [&](std::int64_t bytes) {
    return ShownSize(static_cast<double>(bytes) / divisor, unit);
  };
  // The first byte count from 0 on that `reached` takes; kLargestByteCount + 1 for none.
  const auto first = [&](auto reached) {
    std::int64_t low = 0, high = kLargestByteCount + 1;
    while (low < high) {
      const std::int64_t middle = low + (high - low) / 2;
      if (reached(middle)) {
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    return low;
  };
  return Converted(
      range,
      [&](double x) -> std::optional<double> {
        const std::int64_t above = first([&](std::int64_t bytes) { return shown(bytes) > x; });
        if (above > kLargestByteCount) return std::nullopt;
        return static_cast<double>(above - 1);
      },
      [&](double x) -> std::optional<double> {
        return static_cast<double>(first([&](std::int64_t bytes) { return shown(bytes) >= x; }));
      });
}

// A range of the age in whole units as a range of seconds, which count the
// minutes between the same two times. A unit boundary falls `phase` minutes
// before the time the age is counted to, and every `minutesPerUnit` before
// that, so an age of at most k units is an age of at most k * minutesPerUnit
// + phase minutes, whatever the file's time.
AlertRange SecondsRange(const AlertRange& range, int minutesPerUnit, int phase) {
  // Ages are 32-bit; farther edges are as good as infinite.
  const auto units = [](double x) { return std::clamp(x, -4e9, 4e9); };
  return Converted(
      range,
      [&](double x) -> std::optional<double> {
        return kSecondsPerMinute * (std::floor(units(x)) * minutesPerUnit + phase);
      },
      [&](double x) -> std::optional<double> {
        return kSecondsPerMinute * ((std::ceil(units(x)) - 1) * minutesPerUnit + phase + 1);
      });
}

std::wstring SizePerformanceData(const CheckConfiguration& configuration,
                                const CheckReading& reading, const AlertLevels& ranges) {
  return L"'size'=" + PerformanceNumberText(reading.bytes) + L"B" +
         LevelFields(ranges, [&](const AlertRange& range) {
           return BytesRange(range, configuration.unit);
         }) +
         L";0";
}

std::wstring AgePerformanceData(const CheckConfiguration& configuration,
                                const CheckReading& reading, const AlertLevels& ranges) {
  const std::optional<int> minutesPerUnit = MinutesPerAgeUnit(configuration.unit);
  // An age in units without a length in minutes has no ranges in seconds.
  const std::wstring levels =
      minutesPerUnit ? LevelFields(ranges,
                                   [&](const AlertRange& range) {
                                     return SecondsRange(range, *minutesPerUnit,
                                                         reading.nowMinuteOfDay % *minutesPerUnit);
                                   })
                     : L";;";
  return L"'age'=" + PerformanceNumberText(kSecondsPerMinute * static_cast<double>(reading.minutes)) +
         L"s" + levels + L";0";
}

PluginReport Report(PluginState state, const std::wstring& text,
                    const std::optional<std::wstring>& performanceData = std::nullopt) {
  // The report is one line whatever the text holds.
  std::wstring line = L"QUARNEL " + std::wstring(StateWord(state)) + L" - " +
                      ReplaceAll(ReplaceAll(text, L"\r", L" "), L"\n", L" ");
  if (performanceData) line += L" | " + *performanceData;
  return {state, line};
}

}  // namespace

std::optional<PluginReport> ReportNoCheckNamed(const std::wstring& parameterString) {
  std::wstring problems;
  for (const std::wstring& problem : LintNoCheckNamed(parameterString)) {
    problems += (problems.empty() ? L"" : L"; ") + problem;
  }
  if (problems.empty()) return std::nullopt;
  return Report(PluginState::Unknown, problems);
}

PluginReport ReportCheck(const std::wstring& parameterString, bool passed,
                         const std::optional<std::wstring>& result, const CheckReading& reading,
                         const AlertLevels& levels) {
  if (!result) {
    return passed ? Report(PluginState::Ok, L"(no result text)")
                  : Report(PluginState::Unknown, L"(no result text: the check measured nothing)");
  }
  const CheckConfiguration configuration = ConfigurationOf(parameterString);
  const AlertLevels ranges = DecidingRanges(configuration, levels);
  switch (reading.finding) {
    case CheckReading::Finding::Size:
      return Report(StateOf(levels, passed, reading.shownSize), *result,
                    SizePerformanceData(configuration, reading, ranges));
    case CheckReading::Finding::Age:
      return Report(StateOf(levels, passed, reading.age), *result,
                    AgePerformanceData(configuration, reading, ranges));
    case CheckReading::Finding::Count:
      return Report(StateOf(levels, passed, reading.count), *result,
                    L"'count'=" + DecimalText(reading.count) +
                        LevelFields(ranges, [](const AlertRange& range) { return range; }) + L";0");
    case CheckReading::Finding::NothingFound:
      // Fine where the check says so; else a file was expected.
      return Report(passed ? PluginState::Ok : PluginState::Critical, *result);
    case CheckReading::Finding::None: break;
  }
  // A check that measured nothing is never OK.
  return Report(PluginState::Unknown, *result);
}

PluginReport ReportFailure(const std::wstring& reason) { return Report(PluginState::Unknown, reason); }

}  // namespace quarnel

#include "host/monitoring_plugin.h"

#include <cmath>
#include <cstdio>
#include <cwctype>

#include "params/check_configuration.h"
#include "params/parameter_vocabulary.h"
#include "support/text.h"

namespace quarnel {
namespace {

const wchar_t* StateWord(PluginState state) {
  switch (state) {
    case PluginState::Ok: return L"OK";
    case PluginState::Critical: return L"CRITICAL";
    case PluginState::Unknown: break;
  }
  return L"UNKNOWN";
}

bool EndsWith(const std::wstring& text, const std::wstring& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A number of the result text: an optional "-", digits, and for the sizes
// in a unit one decimal after the regional separator ("." or ",").
std::optional<double> NumberOf(const std::wstring& text, bool decimalAllowed) {
  size_t position = text.empty() || text[0] != L'-' ? 0 : 1;
  std::string ascii = position == 1 ? "-" : "";
  bool digits = false;
  for (; position < text.size() && std::iswdigit(text[position]); ++position, digits = true) {
    ascii += static_cast<char>(text[position]);
  }
  if (decimalAllowed && position < text.size() && (text[position] == L'.' || text[position] == L',')) {
    ascii += '.';
    for (++position; position < text.size() && std::iswdigit(text[position]); ++position) {
      ascii += static_cast<char>(text[position]);
    }
  }
  if (!digits || position != text.size()) return std::nullopt;
  return std::strtod(ascii.c_str(), nullptr);
}

// "Size of PATH is NUMBER UNIT": the number.
std::optional<double> SizeOf(const std::wstring& result, const std::wstring& unit) {
  const std::wstring tail = L" " + unit;
  if (!StartsWith(result, L"Size of ") || !EndsWith(result, tail)) return std::nullopt;
  const std::wstring front = result.substr(0, result.size() - tail.size());
  const auto is = front.rfind(L" is ");
  if (is == std::wstring::npos || is < 7) return std::nullopt;
  return NumberOf(front.substr(is + 4), unit != L"B");
}

bool IsShownInBytes(const std::wstring& unit) { return SizeUnitDivisor(unit) == 1.0; }

// "PATH was created AGE UNIT-WORD ago", perhaps followed by the debug part
// " (ID=...  - N=...)".
std::optional<double> AgeOf(std::wstring result, const std::wstring& unit, bool debug) {
  if (debug) {
    const auto debugPart = result.rfind(L" (ID=");
    if (debugPart == std::wstring::npos || !EndsWith(result, L")")) return std::nullopt;
    result.erase(debugPart);
  }
  const std::wstring tail = L" " + AgeUnitWord(unit) + L" ago";
  if (!EndsWith(result, tail)) return std::nullopt;
  result.erase(result.size() - tail.size());
  const auto space = result.rfind(L' ');
  if (space == std::wstring::npos) return std::nullopt;
  const std::wstring front = result.substr(0, space + 1);
  if (!EndsWith(front, L" was created ") && !EndsWith(front, L" was written ")) return std::nullopt;
  return NumberOf(result.substr(space + 1), false);
}

// Whole numbers without a decimal part or an exponent; others as exact as
// a double holds them.
std::wstring PerfNumber(double value) {
  char text[64];
  if (value == std::floor(value) && std::fabs(value) < 1e18) {
    std::snprintf(text, sizeof text, "%.0f", value);
  } else {
    std::snprintf(text, sizeof text, "%.6f", value);
    std::string trimmed(text);
    trimmed.erase(trimmed.find_last_not_of('0') + 1);
    return std::wstring(trimmed.begin(), trimmed.end());
  }
  return std::wstring(text, text + std::char_traits<char>::length(text));
}

// The comparison names the alarm condition; as a range of the guidelines it
// is the critical level. A date check compares only "LT" and "GT".
std::wstring CriticalRange(const std::wstring& comparison, double threshold, bool date) {
  const std::wstring t = PerfNumber(threshold);
  if (comparison == compare::kLess) return t + L":";
  if (comparison == compare::kGreater) return L"~:" + t;
  if (date) return L"";
  if (comparison == compare::kEqual) return L"@" + t + L":" + t;
  if (comparison == compare::kNotEqual) return t + L":" + t;
  return L"";
}

std::wstring Label(const std::wstring& text) { return L"'" + ReplaceAll(text, L"'", L"''") + L"'"; }

std::wstring AgeLabel(const std::wstring& unit) {
  return Label(L"age_" + (IsAgeUnit(unit) ? AgeUnitWord(unit) : unit));
}

// The configuration as the check reads it.
struct Configuration {
  Kind kind;
  std::wstring unit;
  std::wstring comparison;
  std::optional<double> threshold;  // none when it is too large to read
  bool debug;
};

Configuration ConfigurationOf(const std::wstring& parameterString) {
  const CheckConfiguration read = ReadConfiguration(parameterString, ConfigurationReader::Report);
  return {KindOf(read.what), read.unit, read.comparison, read.threshold, read.debug};
}

// The measured value with its performance data, when the result text holds one.
std::optional<std::wstring> PerformanceData(const Configuration& configuration,
                                            const std::wstring& result,
                                            const std::optional<std::wstring>& byteCountResult) {
  switch (configuration.kind.measurement) {
    case Measurement::Nothing: return std::nullopt;
    case Measurement::Size: {
      const std::optional<double> bytes =
          IsShownInBytes(configuration.unit) ? SizeOf(result, configuration.unit)
          : byteCountResult                  ? SizeOf(*byteCountResult, L"B")
                                             : std::nullopt;
      if (!bytes) return std::nullopt;
      const std::wstring critical =
          configuration.threshold
              ? CriticalRange(configuration.comparison,
                              *configuration.threshold * SizeUnitDivisor(configuration.unit), false)
              : L"";
      return Label(L"size") + L"=" + PerfNumber(*bytes) + L"B;;" + critical + L";0";
    }
    default: {
      const auto age = AgeOf(result, configuration.unit, configuration.debug);
      if (!age) return std::nullopt;
      const std::wstring critical =
          configuration.threshold
              ? CriticalRange(configuration.comparison, *configuration.threshold, true)
              : L"";
      return AgeLabel(configuration.unit) + L"=" + PerfNumber(*age) +
             (critical.empty() ? L"" : L";;" + critical);
    }
  }
}

// Whether the result text shows a size or an age.
bool IsMeasurement(const Configuration& configuration, const std::wstring& result) {
  switch (configuration.kind.measurement) {
    case Measurement::Nothing: return false;
    case Measurement::Size: return SizeOf(result, configuration.unit).has_value();
    default: return AgeOf(result, configuration.unit, configuration.debug).has_value();
  }
}

// Nothing found where a file was expected: the size check's own text, or
// a single date read whose file or path does not exist (codes 2 and 3).
bool IsNotFound(const Configuration& configuration, const std::wstring& result) {
  if (configuration.kind.measurement == Measurement::Size) return result == L"ERR: No matching files";
  const bool singleDate = configuration.kind.measurement == Measurement::CreationDate ||
                          configuration.kind.measurement == Measurement::LastWriteDate;
  return singleDate && StartsWith(result, L"ERR:") &&
         (EndsWith(result, L" (2)") || EndsWith(result, L" (3)")) &&
         result.find(L" params: ") == std::wstring::npos;  // not the error report
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

std::optional<std::wstring> ByteCountCheck(const std::wstring& parameterString) {
  const Configuration configuration = ConfigurationOf(parameterString);
  if (configuration.kind.measurement != Measurement::Size || IsShownInBytes(configuration.unit)) {
    return std::nullopt;
  }
  // The first "UNIT" counts. "~" keeps text before the string's first "#",
  // which no reader takes for an entry, from becoming one.
  return L"#UNIT=B#~" + parameterString;
}

PluginReport ReportCheck(const std::wstring& parameterString, bool passed,
                         const std::optional<std::wstring>& result,
                         const std::optional<std::wstring>& byteCountResult) {
  if (!result) {
    return passed ? Report(PluginState::Ok, L"(no result text)")
                  : Report(PluginState::Unknown, L"(no result text: the check measured nothing)");
  }
  const Configuration configuration = ConfigurationOf(parameterString);
  const bool measured = IsMeasurement(configuration, *result);
  const auto performanceData =
      measured ? PerformanceData(configuration, *result, byteCountResult) : std::nullopt;
  if (passed) return Report(PluginState::Ok, *result, performanceData);
  if (measured || IsNotFound(configuration, *result)) {
    return Report(PluginState::Critical, *result, performanceData);
  }
  return Report(PluginState::Unknown, *result);
}

PluginReport ReportFailure(const std::wstring& reason) { return Report(PluginState::Unknown, reason); }

}  // namespace quarnel

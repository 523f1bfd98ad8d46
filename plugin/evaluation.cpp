#include "plugin/evaluation.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "fileaccess/file_dates.h"
#include "params/debug_trace.h"
#include "params/parameter_vocabulary.h"
#include "plugin/result_text.h"
#include "registry/month_names.h"
#include "support/automation.h"
#include "support/ole_date.h"
#include "support/text.h"

namespace quarnel {

// Size units divide by powers of 1024, one for each step up the list from
// bytes; an unknown unit leaves bytes.
double SizeUnitDivisor(const std::wstring& unit) {
  double divisor = 1.0;
  for (const wchar_t* code : kSizeUnitCodes) {
    if (unit == code) return divisor;
    divisor *= 1024.0;
  }
  return 1.0;
}

bool IsSizeUnit(const std::wstring& unit) { return IsCodeOf(kSizeUnitCodes, unit); }

std::wstring AgeUnitWord(const std::wstring& unit) {
  if (unit == L"N") return L"minutes";
  if (unit == L"H") return L"hours";
  if (unit == L"D") return L"days";
  return L"unknown unit (" + unit + L")";
}

bool IsAgeUnit(const std::wstring& unit) { return IsCodeOf(kAgeUnitCodes, unit); }

namespace {

// The age units count minute, hour and day boundaries whatever their letter
// case; any other code goes to the date difference as it stands, which
// rejects what it does not know.
std::wstring AgeIntervalOf(const std::wstring& unit) {
  if (unit == L"N" || unit == L"n") return L"n";
  if (unit == L"H" || unit == L"h") return L"h";
  if (unit == L"D" || unit == L"d") return L"d";
  return unit;
}

}  // namespace

std::optional<int> MinutesPerAgeUnit(const std::wstring& unit) {
  const std::wstring interval = AgeIntervalOf(unit);
  if (interval == L"n") return 1;
  if (interval == L"h") return 60;
  if (interval == L"d") return 24 * 60;
  return std::nullopt;
}

namespace {

bool IsSizeCheck(const std::wstring& what) { return KindOf(what).measurement == Measurement::Size; }

// The comparison names the alarm condition: the check passes when it does
// not hold. An unknown comparison never passes.
bool SizePasses(const std::wstring& comparison, double value, double threshold) {
  if (comparison == compare::kLess) return !(value < threshold);
  if (comparison == compare::kGreater) return !(value > threshold);
  if (comparison == compare::kEqual) return !(value == threshold);
  if (comparison == compare::kNotEqual) return !(value != threshold);
  return false;
}

// Ages compare only "less" and "more".
bool AgePasses(const std::wstring& comparison, std::int32_t age, double threshold) {
  if (comparison == compare::kLess) return !(age < threshold);
  if (comparison == compare::kGreater) return !(age > threshold);
  return false;
}

// A date text that is no date is a type mismatch where its value is needed.
OleDate DateValueOrMismatch(const std::optional<OleDate>& value) {
  if (!value) throw CheckError(ErrorNumber::TypeMismatch);
  return *value;
}

const wchar_t* TruthWord(bool value) { return value ? L"True" : L"False"; }

void MakeNowText(CheckValues& values, CheckMachine& machine) {
  const DateTimeFields now = FieldsFromOleDate(machine.clock.Now());
  values.nowFields = CalendarFields{now.year, now.month, now.day, now.hour, now.minute, now.second};
  values.nowText = DateText(machine.monthNames, values.nowFields);
}

std::wstring EvaluateSize(CheckValues& values, CheckMachine& machine) {
  const double scaled = values.sizeTotal / SizeUnitDivisor(values.unit);
  double value = 0;
  std::wstring result;
  if (scaled != 0) {
    const std::wstring number =
        TrimSpaces(machine.automation.FormatNumber(scaled, SizePicture(values.unit)));
    // The text shows the total as it is; the comparison uses it rounded to
    // whole bytes, or to one decimal, halves up.
    value = ShownSize(scaled, values.unit);
    if (!std::isfinite(value)) throw CheckError(ErrorNumber::Overflow);
    result = SizeText(values.path, number, values.unit);
  } else {
    result = SizeText(values.path, L"0", values.unit);
  }
  values.passed = SizePasses(values.comparison, value, values.threshold);
  return result;
}

std::wstring EvaluateDate(CheckValues& values, CheckMachine& machine) {
  Automation& automation = machine.automation;
  TraceSink& trace = machine.trace;
  MakeNowText(values, machine);
  const std::wstring fileDate = values.fileDate.value_or(L"");

  // Each text is read back once; one that is no date fails where its value
  // is first needed, after the line that says whether it converts.
  const std::optional<OleDate> nowValue =
      ReadDateTextBack(automation, values.nowText, values.nowFields);
  const std::optional<OleDate> fileValue =
      ReadDateTextBack(automation, fileDate, values.fileDateFields);

  trace.Trace([&] {
    return L"in case Nn:" + values.nowText + L" " + TruthWord(nowValue.has_value()) + L"--" +
           fileDate + L" " + TruthWord(fileValue.has_value());
  });
  const OleDate now = DateValueOrMismatch(nowValue);
  trace.Trace([&] { return L"in case Dn:" + automation.GeneralDateText(now); });
  trace.Trace([&] { return L"in case Nd:" + fileDate; });
  const OleDate file = DateValueOrMismatch(fileValue);
  trace.Trace([&] { return L"in case Nn:" + automation.GeneralDateText(file); });
  trace.Trace([&] { return L"in case unit:" + values.unit; });

  const long long difference = DateDifference(AgeIntervalOf(values.unit), file, now);
  if (difference < INT32_MIN || difference > INT32_MAX) throw CheckError(ErrorNumber::Overflow);
  const auto age = static_cast<std::int32_t>(difference);
  trace.Trace([&] { return L"in case dif:" + DecimalText(age); });

  const Kind kind = KindOf(values.what);
  const std::wstring& subject = kind.measurement == Measurement::Scan ? values.chosenPath
                                                                      : values.path;
  std::wstring result = AgeText(subject, kind.creation, age, values.unit);
  if (values.debug) result += DebugPart(fileDate, values.nowText);
  values.passed = AgePasses(values.comparison, age, values.threshold);
  return result;
}

CheckOutcome CommonEnd(const CheckValues& values, CheckMachine& machine, std::wstring result) {
  machine.trace.Trace([&] { return L"COM CHECK: RES: " + result; });
  machine.trace.Trace([&] {
    return L"COM CHECK: OUT: " + machine.automation.GeneralDateText(machine.clock.Now());
  });
  return {values.passed, std::move(result)};
}

// The value type that a text of the report converts to: an empty text is
// the zero date; a text that is no date is shown as the text it is.
const wchar_t* ConvertedTypeOf(Automation& automation, const std::wstring& text,
                               const CalendarFields& writtenFrom) {
  return text.empty() || ReadDateTextBack(automation, text, writtenFrom) ? L"Date" : L"String";
}

}  // namespace

CheckOutcome Evaluate(CheckValues& values, CheckMachine& machine) {
  // A check that could not look fails, whatever a missing file means.
  if (values.failure) {
    values.passed = false;
    return CommonEnd(values, machine, *values.failure);
  }
  if (values.entryCount != 0) {
    std::wstring result = IsSizeCheck(values.what) ? EvaluateSize(values, machine)
                                                   : EvaluateDate(values, machine);
    return CommonEnd(values, machine, std::move(result));
  }
  // Nothing found: no trace line.
  if (values.notFoundIsOk) return {true, kNothingFoundText};
  if (IsSizeCheck(values.what)) return {false, kNoSizeFoundText};
  return {false, values.fileDate};
}

CheckOutcome ErrorReport(const CheckError& error, const CheckValues& values,
                         CheckMachine& machine) {
  Automation& automation = machine.automation;
  const std::wstring fileDate = values.fileDate.value_or(L"");
  const std::wstring report =
      L"ERR: " + error.description() + L" (" + DecimalText(error.number()) + L") at 0 params: " +
      values.unit + L"-" + fileDate + L"-" + values.nowText + L"-" +
      automation.NumberText(values.sizeTotal) + L"- type: Double-" +
      ConvertedTypeOf(automation, fileDate, values.fileDateFields) + L"-" +
      ConvertedTypeOf(automation, values.nowText, values.nowFields) +
      L"- pat=" + values.path;
  machine.trace.Trace([&] { return L"ERROR " + report; });
  return {values.passed, report};
}

}  // namespace quarnel

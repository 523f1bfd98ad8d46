#include "plugin/evaluation.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "fileaccess/file_dates.h"
#include "params/parameter_vocabulary.h"
#include "plugin/result_text.h"
#include "registry/month_names.h"
#include "support/automation.h"
#include "support/debug_trace.h"
#include "support/ole_date.h"
#include "support/text.h"

namespace quarnel {

namespace {

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

Moment TakeNow(CheckMachine& machine) {
  const CalendarFields now = FieldsFromOleDate(machine.clock.Now());
  return {DateText(machine.monthNames, now), now};
}

Verdict EvaluateSize(const CheckConfiguration& configuration, const FileMeasurement& measured,
                     CheckMachine& machine) {
  const std::wstring& unit = configuration.unit;
  const double scaled = measured.sizeTotal / SizeUnitDivisor(unit);
  double value = 0;
  std::wstring result;
  if (scaled != 0) {
    const std::wstring number =
        TrimSpaces(machine.automation.FormatNumber(scaled, SizePicture(unit)));
    // The text shows the total as it is; the comparison uses it rounded to
    // whole bytes, or to one decimal, halves up.
    value = ShownSize(scaled, unit);
    if (!std::isfinite(value)) throw CheckError(ErrorNumber::Overflow);
    result = SizeText(measured.path, number, unit);
  } else {
    result = SizeText(measured.path, L"0", unit);
  }
  CheckReading reading;
  reading.finding = CheckReading::Finding::Size;
  reading.bytes = measured.sizeTotal;
  reading.shownSize = value;
  return {SizePasses(configuration.comparison, value, *configuration.threshold), result, true,
          reading};
}

// A count compares as a size in bytes does, by all four comparisons.
Verdict EvaluateCount(const CheckConfiguration& configuration, const FileMeasurement& measured) {
  CheckReading reading;
  reading.finding = CheckReading::Finding::Count;
  reading.count = measured.entryCount;
  return {SizePasses(configuration.comparison, measured.entryCount, *configuration.threshold),
          CountText(measured.path, measured.entryCount), true, reading};
}

Verdict EvaluateDate(const CheckConfiguration& configuration, const FileMeasurement& measured,
                     CheckMachine& machine, Moment& moment) {
  Automation& automation = machine.automation;
  TraceSink& trace = machine.trace;
  moment = TakeNow(machine);
  const std::wstring fileDate = measured.fileDate.value_or(L"");

  // Each text is read back once; one that is no date fails where its value
  // is first needed, after the line that says whether it converts.
  const std::optional<OleDate> nowValue = ReadDateTextBack(automation, moment.text, moment.fields);
  const std::optional<OleDate> fileValue =
      ReadDateTextBack(automation, fileDate, measured.fileDateFields);

  trace.Trace([&] {
    return L"in case Nn:" + moment.text + L" " + TruthWord(nowValue.has_value()) + L"--" +
           fileDate + L" " + TruthWord(fileValue.has_value());
  });
  const OleDate now = DateValueOrMismatch(nowValue);
  trace.Trace([&] { return L"in case Dn:" + automation.GeneralDateText(now); });
  trace.Trace([&] { return L"in case Nd:" + fileDate; });
  const OleDate file = DateValueOrMismatch(fileValue);
  trace.Trace([&] { return L"in case Nn:" + automation.GeneralDateText(file); });
  trace.Trace([&] { return L"in case unit:" + configuration.unit; });

  const long long difference = DateDifference(AgeInterval(configuration.unit), file, now);
  if (difference < INT32_MIN || difference > INT32_MAX) throw CheckError(ErrorNumber::Overflow);
  const auto age = static_cast<std::int32_t>(difference);
  trace.Trace([&] { return L"in case dif:" + DecimalText(age); });

  const Kind& kind = *KindOf(configuration.what);  // only a kind measures
  const std::wstring& subject = kind.pick != Pick::None ? measured.chosenPath : measured.path;
  std::wstring result =
      AgeText(subject, kind.date == WhichDate::Creation, age, configuration.unit);
  if (configuration.debug) result += DebugPart(fileDate, moment.text);
  CheckReading reading;
  reading.finding = CheckReading::Finding::Age;
  reading.age = age;
  reading.minutes = DateDifference(L"n", file, now);
  reading.nowMinuteOfDay = moment.fields.hour * 60 + moment.fields.minute;
  return {AgePasses(configuration.comparison, age, *configuration.threshold), result, true,
          reading};
}

// The value type that a text of the report converts to: an empty text is
// the zero date; a text that is no date is shown as the text it is.
const wchar_t* ConvertedTypeOf(Automation& automation, const std::wstring& text,
                               const CalendarFields& writtenFrom) {
  return text.empty() || ReadDateTextBack(automation, text, writtenFrom) ? L"Date" : L"String";
}

}  // namespace

Verdict Evaluate(const CheckConfiguration& configuration, const FileMeasurement& measured,
                 CheckMachine& machine, Moment& now) {
  const Kind* kind = KindOf(configuration.what);
  // A check that could not look fails, whatever a missing file means.
  if (measured.failure) return {false, *measured.failure, true, CheckReading()};
  // A folder listed whole holds a count, 0 included.
  if (kind && kind->quantity == Quantity::Count && measured.folderListed) {
    return EvaluateCount(configuration, measured);
  }
  if (measured.entryCount != 0) {
    return kind->quantity == Quantity::Size ? EvaluateSize(configuration, measured, machine)
                                            : EvaluateDate(configuration, measured, machine, now);
  }
  // Nothing found: no trace line. A code that is no kind (a typo, or a
  // string written for a newer version) looked at nothing: that is never a
  // pass, whatever a missing file means. A count whose folder is not there
  // finds nothing as a size does.
  CheckReading nothing;
  nothing.finding = CheckReading::Finding::NothingFound;
  nothing.searchedPath = measured.path;
  nothing.systemCode = measured.nothingFoundCode;
  if (configuration.notFoundIsOk && kind) return {true, kNothingFoundText, false, nothing};
  if (kind && kind->quantity != Quantity::Age) return {false, kNoSizeFoundText, false, nothing};
  return {false, measured.fileDate, false, nothing};
}

CheckOutcome CloseCheck(const Verdict& verdict, CheckMachine& machine) {
  if (verdict.traced) {
    machine.trace.Trace([&] { return L"COM CHECK: RES: " + verdict.result.value_or(L""); });
    machine.trace.Trace([&] {
      return L"COM CHECK: OUT: " + machine.automation.GeneralDateText(machine.clock.Now());
    });
  }
  return {verdict.passed, verdict.result, verdict.reading};
}

CheckOutcome ErrorReport(const CheckError& error, const RunSoFar& run, CheckMachine& machine) {
  Automation& automation = machine.automation;
  const FileMeasurement& measured = run.measured;
  const std::wstring fileDate = measured.fileDate.value_or(L"");
  const std::wstring report =
      L"ERR: " + error.description() + L" (" + DecimalText(error.number()) + L") at 0 params: " +
      run.unit + L"-" + fileDate + L"-" + run.now.text + L"-" +
      (run.counting ? DecimalText(measured.entryCount) + L"- type: Long-"
                    : automation.NumberText(measured.sizeTotal) + L"- type: Double-") +
      ConvertedTypeOf(automation, fileDate, measured.fileDateFields) + L"-" +
      ConvertedTypeOf(automation, run.now.text, run.now.fields) + L"- pat=" + measured.path;
  machine.trace.Trace([&] { return L"ERROR " + report; });
  return {run.passed, report, CheckReading()};
}

}  // namespace quarnel

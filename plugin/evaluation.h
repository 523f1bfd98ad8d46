#pragma once
// The end of a check: found or not found, the size in its unit or the age in
// its unit, the comparison with the threshold, the result text, and the
// error report that every raised failure ends in.

#include <optional>
#include <string>

#include "fileaccess/file_system.h"
#include "params/check_configuration.h"
#include "plugin/check_machine.h"
#include "plugin/measurement.h"
#include "support/check_error.h"

namespace quarnel {

// The moment a date evaluation counts the age up to: its date text and the
// calendar fields that the text was written from. Empty until then.
struct Moment {
  std::wstring text;
  CalendarFields fields;
};

// What the evaluation decides.
struct Verdict {
  bool passed = false;
  std::optional<std::wstring> result;  // nothing: an Empty sa_result
  // Whether the check ends with the closing trace lines: it measured, or
  // could not look; a check that found nothing ends silently.
  bool traced = false;
  CheckReading reading;
};

// Judges the measurement by the configuration. May throw CheckError (a date
// text that does not convert, an age unit that is rejected, an overflow);
// the caller then builds the error report. `now` receives the moment a date
// evaluation counts to as soon as it is taken, so that the report shows it.
Verdict Evaluate(const CheckConfiguration& configuration, const FileMeasurement& measured,
                 CheckMachine& machine, Moment& now);

// The outcome of a verdict, after its closing trace lines.
CheckOutcome CloseCheck(const Verdict& verdict, CheckMachine& machine);

// How far a check got when a failure was raised: what its error report shows.
struct RunSoFar {
  const std::wstring& unit;
  const FileMeasurement& measured;
  const Moment& now;
  bool passed;  // the status, which the report leaves as it was
  bool counting = false;  // a count: the report shows the files counted so far
};

// The error report; it cannot fail on account of the run's values: a date
// text that does not convert is shown as it stands.
CheckOutcome ErrorReport(const CheckError& error, const RunSoFar& run, CheckMachine& machine);

}  // namespace quarnel

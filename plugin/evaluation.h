#pragma once
// The end of a check: found or not found, the size in its unit or the age in
// its unit, the comparison with the threshold, the result text, and the
// error report that every raised failure ends in.

#include "plugin/check_run.h"
#include "plugin/check_values.h"
#include "support/automation.h"
#include "support/check_error.h"

namespace quarnel {

// May throw CheckError (a date text that does not convert, an age unit that
// is rejected, an overflow); the caller then builds the error report.
CheckOutcome Evaluate(CheckValues& values, CheckMachine& machine);

// The error report; it cannot fail on account of the run's values: a date
// text that does not convert is shown as it stands.
CheckOutcome ErrorReport(const CheckError& error, const CheckValues& values,
                         CheckMachine& machine);

}  // namespace quarnel

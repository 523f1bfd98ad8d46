#pragma once
// The date values of the date texts that one check compares.
//
// A date text is read back with the locale's conversion, and it must read
// back as the date it was written from. That conversion is the dearest step
// of a scan, and every text of one month carries the same month name: once
// a name has been shown, within the run, to read back as its own month with
// the day and the time of a few texts across the calendar, the later values
// of that month are computed from their calendar fields, which gives the
// same value the conversion would. Anything not proven keeps the per-text
// conversion, so a name that the locale does not know, or reads as another
// month, fails at the same text as it always did.

#include <array>
#include <optional>
#include <string>

#include "fileaccess/file_system.h"
#include "support/automation.h"

namespace quarnel {

class MonthNameTable;

class DateValues {
 public:
  DateValues(Automation& automation, const MonthNameTable& months)
      : automation_(automation), months_(months) {}

  // The value of the date text written from `fields`; nothing when that
  // text does not convert, or reads back as another date.
  std::optional<OleDate> ValueOf(const CalendarFields& fields);

 private:
  enum class Proof { Unseen, Seen, Proven, Refuted };
  struct MonthProof {
    Proof proof = Proof::Unseen;
    std::wstring name;  // the month name that the proof is about
  };

  std::optional<OleDate> Converted(const CalendarFields& fields);
  bool ReadsBackAsItself(int month);

  Automation& automation_;
  const MonthNameTable& months_;
  std::array<MonthProof, 13> proofs_;
};

}  // namespace quarnel

#include "plugin/date_values.h"

#include "fileaccess/file_dates.h"
#include "registry/month_names.h"
#include "support/ole_date.h"

namespace quarnel {
namespace {

// The years that the proof texts span; fields outside them, or no valid
// date at all, always go through the conversion.
constexpr int kFirstProvenYear = 1601;
constexpr int kLastProvenYear = 9999;

bool Computable(const CalendarFields& f) {
  return f.year >= kFirstProvenYear && f.year <= kLastProvenYear && f.month >= 1 &&
         f.month <= 12 && f.day >= 1 && f.day <= DaysInMonth(f.year, f.month) && f.hour >= 0 &&
         f.hour < 24 && f.minute >= 0 && f.minute < 60 && f.second >= 0 && f.second < 60;
}

}  // namespace

std::optional<OleDate> DateValues::ValueOf(const CalendarFields& fields) {
  if (!Computable(fields)) return Converted(fields);
  MonthProof& month = proofs_[fields.month];
  const std::wstring name = months_.GetMonthName(static_cast<std::int16_t>(fields.month));
  if (month.name != name) month = MonthProof{Proof::Unseen, name};
  // The proof is made at the month's second text, so that a check that
  // reads one date of a month never pays for it.
  if (month.proof == Proof::Seen) {
    month.proof = ReadsBackAsItself(fields.month) ? Proof::Proven : Proof::Refuted;
  }
  if (month.proof == Proof::Proven) return OleDateFromFields(fields);
  const std::optional<OleDate> value = Converted(fields);
  if (value && month.proof == Proof::Unseen) month.proof = Proof::Seen;
  return value;
}

std::optional<OleDate> DateValues::Converted(const CalendarFields& fields) {
  return ReadDateTextBack(automation_, DateText(months_, fields), fields);
}

// Texts of the month across the calendar: both ends of the years, both
// sides of 30 December 1899, days that could be taken for months and the
// month's last day in a leap year, midnight, noon and the last second.
bool DateValues::ReadsBackAsItself(int month) {
  const CalendarFields probes[] = {
      {kFirstProvenYear, month, 1, 0, 0, 0},
      {1899, month, 12, 23, 59, 59},
      {1900, month, 13, 12, 0, 0},
      {2000, month, DaysInMonth(2000, month), 1, 2, 3},
      {kLastProvenYear, month, 28, 23, 59, 59},
  };
  for (const CalendarFields& probe : probes) {
    if (!Converted(probe)) return false;
  }
  return true;
}

}  // namespace quarnel

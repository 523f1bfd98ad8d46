#pragma once
// A check's CheckReading as it crosses the object's IQuarnelReading: the
// object writes it, the stand-in host reads it, both through this header.

#include "support/windows_win32.h"
#include <oleauto.h>

#include <cstdint>

#include "plugin/measurement.h"
#include "quarnel_h.h"  // generated from plugin/quarnel.idl
#include "support/com_text_win32.h"
#include "support/unique_any_win32.h"

namespace quarnel {

// The reading for the caller, who then owns its BSTR; throws std::bad_alloc
// when the BSTR cannot be made.
inline QuarnelReading TransferredReading(const CheckReading& reading) {
  QuarnelReading transferred{};
  transferred.finding = static_cast<LONG>(reading.finding);
  transferred.bytes = reading.bytes;
  transferred.shownSize = reading.shownSize;
  transferred.age = reading.age;
  transferred.minutes = reading.minutes;
  transferred.nowMinuteOfDay = reading.nowMinuteOfDay;
  transferred.systemCode = reading.systemCode;
  transferred.count = reading.count;
  transferred.searchedPath = BstrOf(reading.searchedPath).release();
  return transferred;
}

// The reading that the object handed out; frees its BSTR. A finding that
// this side does not know is none.
inline CheckReading ReceivedReading(QuarnelReading& transferred) {
  const unique_bstr path(transferred.searchedPath);
  transferred.searchedPath = nullptr;
  CheckReading reading;
  const LONG finding = transferred.finding;
  if (finding < 0 || finding > static_cast<LONG>(CheckReading::Finding::Count)) return reading;
  reading.finding = static_cast<CheckReading::Finding>(finding);
  reading.bytes = transferred.bytes;
  reading.shownSize = transferred.shownSize;
  reading.age = transferred.age;
  reading.minutes = transferred.minutes;
  reading.nowMinuteOfDay = transferred.nowMinuteOfDay;
  reading.systemCode = transferred.systemCode;
  reading.count = transferred.count;
  reading.searchedPath = TextOfBstr(path.get());
  return reading;
}

}  // namespace quarnel

// Arbitrary paths through the date placeholder expansion: it must never
// crash or hang, and its only failure is an invalid argument (5).
//
// Input: four bytes choosing the clock's day within the years 100 to 9999,
// then the path as UTF-16 code units (little-endian).

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fileaccess/date_placeholder.h"
#include "support/check_error.h"
#include "support/ole_date.h"
#include "tests/native/fake_automation.h"

namespace {

quarnel::OleDate ClockDateOf(const std::uint8_t* data) {
  std::uint32_t choice = 0;
  std::memcpy(&choice, data, sizeof choice);
  const quarnel::OleDate first = quarnel::OleDateFromFields({100, 1, 1, 0, 0, 0});
  const quarnel::OleDate last = quarnel::OleDateFromFields({9999, 12, 31, 0, 0, 0});
  const double dayOffset = choice % static_cast<std::uint32_t>(last - first + 1);
  // Back to the Automation encoding through the fields, so that days before
  // 30 December 1899 keep their forward-counting fraction.
  const quarnel::CalendarFields day = quarnel::FieldsFromOleDate(first + dayOffset);
  const int second = static_cast<int>(choice % 86400);
  return quarnel::OleDateFromFields({day.year, day.month, day.day, second / 3600, second / 60 % 60, second % 60});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  quarnel::FixedClock clock(ClockDateOf(data));
  std::wstring path;
  for (std::size_t i = 4; i + 1 < size; i += 2) path += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));

  quarnel::FakeAutomation automation;
  try {
    const std::wstring expanded = quarnel::ExpandDatePlaceholder(path, clock, automation);
    if (path.find(L'{') == std::wstring::npos && expanded != path) std::abort();
  } catch (const quarnel::CheckError& error) {
    if (error.number() != static_cast<int>(quarnel::ErrorNumber::InvalidArgument)) std::abort();
  }
  return 0;
}

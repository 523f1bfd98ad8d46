// ParseAlertRange on any text: never crashes; gives a range or a problem,
// never both; a range's start lies at or below its end; and a range written
// back as performance data write it reads as the same range.
//
// Each input byte becomes one character (codes 0 to 255).

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/alert_range.h"
#include "fuzz_support.h"

namespace {

using quarnel::fuzz::Require;

bool SameRange(const quarnel::AlertRange& a, const quarnel::AlertRange& b) {
  return a.start == b.start && a.end == b.end && a.alertInside == b.alertInside;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text(data, data + size);
  const quarnel::ParsedRange parsed = quarnel::ParseAlertRange(text);
  Require(parsed.range.has_value() == parsed.problem.empty());
  if (!parsed.range) return 0;
  const quarnel::AlertRange& range = *parsed.range;
  Require(!range.start || !range.end || *range.start <= *range.end);
  const std::wstring written = quarnel::AlertRangeText(range);
  // Whole numbers from 1e18 on are written with an exponent, which a range does not take.
  if (written.find(L'e') != std::wstring::npos) return 0;
  const quarnel::ParsedRange again = quarnel::ParseAlertRange(written);
  Require(again.range && SameRange(*again.range, range));
  return 0;
}

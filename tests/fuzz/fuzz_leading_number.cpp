// ReadLeadingNumber on any text: never crashes, fails only with the
// overflow error, and gives a finite number that neither blanks in front nor
// a character after the text that continues no number can change.
//
// Each input byte becomes one character (codes 0 to 255).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "params/leading_number.h"
#include "support/check_error.h"
#include "fuzz_support.h"

namespace {

using quarnel::fuzz::Require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text(data, data + size);
  double value = 0.0;
  try {
    value = quarnel::ReadLeadingNumber(text);
  } catch (const quarnel::CheckError& error) {
    Require(error.number() == static_cast<int>(quarnel::ErrorNumber::Overflow));
    return 0;
  }
  Require(std::isfinite(value));
  Require(quarnel::ReadLeadingNumber(L" \t\n" + text) == value);
  Require(quarnel::ReadLeadingNumber(text + L"#") == value);
  return 0;
}

// EscapeValue and UnescapeValue on any text: never crash; an escaped value
// holds none of the characters that would break its entry; unescaping never
// lengthens a text; and a text that holds no "{0x" comes back whole from
// escaping and unescaping. (A text that does hold "{0x" may not: "{" is not
// escaped, so a literal "{0x20}" comes back as a blank.)
//
// Each input byte becomes one character (codes 0 to 255).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "params/parameter_string.h"
#include "fuzz_support.h"

namespace {

using quarnel::fuzz::Require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text(data, data + size);

  const std::wstring escapedWithHash = quarnel::EscapeValue(text, true);
  const std::wstring escapedWithoutHash = quarnel::EscapeValue(text, false);
  Require(escapedWithHash.find_first_of(L"\r\n\"#") == std::wstring::npos);
  Require(escapedWithoutHash.find_first_of(L"\r\n\"") == std::wstring::npos);

  Require(quarnel::UnescapeValue(text).size() <= text.size());

  if (text.find(L"{0x") == std::wstring::npos) {
    Require(quarnel::UnescapeValue(escapedWithHash) == text);
    Require(quarnel::UnescapeValue(escapedWithoutHash) == text);
  }
  return 0;
}

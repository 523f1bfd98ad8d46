// GetParameter on any key and parameter string: never crashes, and what it
// returns is a piece of the parameter string that holds no "#" and ends
// where an entry ends.
//
// Input layout: the first byte is the key length (cut to the bytes there
// are), then the key, then the parameter string. Each byte becomes one
// character (codes 0 to 255), so NULs and Latin-1 letters occur in both.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "params/parameter_string.h"
#include "fuzz_support.h"

namespace {

std::wstring AsciiUpperCase(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return text;
}

using quarnel::fuzz::Require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t keyLength = data[0] < size - 1 ? data[0] : size - 1;
  const std::uint8_t* keyBegin = data + 1;
  const std::wstring key(keyBegin, keyBegin + keyLength);
  const std::wstring parameterString(keyBegin + keyLength, data + size);

  const std::wstring value = quarnel::GetParameter(parameterString, key);

  Require(value.find(L'#') == std::wstring::npos);
  if (!value.empty()) {
    // The value is followed by a "#" or by the end of the text, somewhere.
    bool endsAnEntry = false;
    for (auto at = parameterString.find(value); at != std::wstring::npos && !endsAnEntry;
         at = parameterString.find(value, at + 1)) {
      const std::size_t end = at + value.size();
      endsAnEntry = end == parameterString.size() || parameterString[end] == L'#';
    }
    Require(endsAnEntry);
  }
  // Key names are found without regard to letter case.
  Require(quarnel::GetParameter(parameterString, AsciiUpperCase(key)) == value);
  return 0;
}

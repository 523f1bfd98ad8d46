// Base64Decode and DecodePassword on any text: never crash, fail only with
// the invalid-argument error of a group that begins with "=", and whatever
// decodes re-encodes consistently: decoding the re-encoding gives the same
// bytes. The input bytes also go the other way, through encoding first.
//
// Base64Decode takes the input bytes as they are; DecodePassword takes them
// widened, each byte one character (codes 0 to 255).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "params/base64.h"
#include "support/check_error.h"
#include "fuzz_support.h"

namespace {

using quarnel::fuzz::Require;

bool IsInvalidArgument(const quarnel::CheckError& error) {
  return error.number() == static_cast<int>(quarnel::ErrorNumber::InvalidArgument);
}

void CheckDecodeOfBytes(const std::string& encoded) {
  try {
    const std::string bytes = quarnel::Base64Decode(encoded);
    Require(bytes.size() <= (encoded.size() + 3) / 4 * 3);
    Require(quarnel::Base64Decode(quarnel::Base64Encode(bytes)) == bytes);
  } catch (const quarnel::CheckError& error) {
    Require(IsInvalidArgument(error));
  }
}

void CheckDecodeOfPassword(const std::wstring& encoded) {
  try {
    const std::wstring clear = quarnel::DecodePassword(encoded);
    Require(quarnel::DecodePassword(quarnel::EncodePassword(clear)) == clear);
  } catch (const quarnel::CheckError& error) {
    Require(IsInvalidArgument(error));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(data, data + size);
  CheckDecodeOfBytes(bytes);
  CheckDecodeOfPassword(std::wstring(data, data + size));
  Require(quarnel::Base64Decode(quarnel::Base64Encode(bytes)) == bytes);
  return 0;
}

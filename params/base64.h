#pragma once
// The password's form in the parameter string (key "PWD"): base64 of the
// password's bytes in the system ANSI code page, with the alphabet of
// RFC 4648, "=" padding and no line breaks. The alphabet holds no "#", so an
// encoded password never ends its entry early. It uses no key: anyone can
// reverse it.

#include <string>

namespace quarnel {

// The digit for a 6-bit value: "A" for 0 ... "/" for 63; "=" (padding) for
// -1; the empty text for 64 and above, and for values below -1.
std::wstring Base64Digit(int value);
// The value of the first character of `character`: 0 to 63 for a digit
// (letter case counts); 0 for "=", for any other character and for the
// empty text.
int Base64Digit(const std::wstring& character);

// The standard base64 encoding of the bytes; the empty text for no bytes.
std::string Base64Encode(const std::string& bytes);

// Decodes groups of four characters; a place beyond the end counts as "=".
// A group yields as many bytes as there are places in front of its first
// "=", less one, so padding may be missing at the end and may stand inside
// the text, where it ends its own group only ("YQ==YQ==" gives "aa").
// Characters outside the alphabet, line breaks included, count as the
// digit 0 and keep their place. Throws CheckError(InvalidArgument) when a
// group begins with "=".
std::string Base64Decode(const std::string& encoded);

// Base64Encode of the password's bytes in the ANSI code page.
std::wstring EncodePassword(const std::wstring& clear);
// The password whose ANSI bytes Base64Decode gives; throws as it does.
std::wstring DecodePassword(const std::wstring& encoded);

}  // namespace quarnel

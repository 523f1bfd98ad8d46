#include "params/base64.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "support/check_error.h"
#include "support/codepage.h"

namespace quarnel {
namespace {

// The padding character, then the 64 digits: the digit for the value v
// stands at index v + 1.
constexpr std::string_view kAlphabet =
    "=ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPadding = '=';
constexpr int kDigitCount = 64;

char DigitOf(unsigned value) { return kAlphabet[value + 1]; }

bool IsAscii(wchar_t character) { return static_cast<std::uint32_t>(character) <= 0x7F; }

int ValueOf(wchar_t character) {
  if (!IsAscii(character)) return 0;
  const auto index = kAlphabet.find(static_cast<char>(character));
  return index == std::string_view::npos || index == 0 ? 0 : static_cast<int>(index) - 1;
}

unsigned ByteAt(const std::string& bytes, std::size_t index) {
  return index < bytes.size() ? static_cast<unsigned char>(bytes[index]) : 0U;
}

// The number of bytes a group of four places yields: the index of its first
// padding character less one, or 3 when it holds none.
int ByteCountOf(const char (&places)[4]) {
  for (int index = 0; index < 4; ++index) {
    if (places[index] == kPadding) return index - 1;
  }
  return 3;
}

}  // namespace

std::wstring Base64Digit(int value) {
  if (value == -1) return std::wstring(1, static_cast<wchar_t>(kPadding));
  if (value < 0 || value >= kDigitCount) return std::wstring();
  return std::wstring(1, static_cast<wchar_t>(DigitOf(static_cast<unsigned>(value))));
}

int Base64Digit(const std::wstring& character) {
  return character.empty() ? 0 : ValueOf(character.front());
}

std::string Base64Encode(const std::string& bytes) {
  std::string encoded;
  encoded.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t start = 0; start < bytes.size(); start += 3) {
    const std::size_t groupLength = bytes.size() - start;
    const unsigned b1 = ByteAt(bytes, start);
    const unsigned b2 = ByteAt(bytes, start + 1);
    const unsigned b3 = ByteAt(bytes, start + 2);
    encoded += DigitOf(b1 / 4);
    encoded += DigitOf((b1 % 4) * 16 + b2 / 16);
    encoded += groupLength > 1 ? DigitOf((b2 % 16) * 4 + b3 / 64) : kPadding;
    encoded += groupLength > 2 ? DigitOf(b3 % 64) : kPadding;
  }
  return encoded;
}

std::string Base64Decode(const std::string& encoded) {
  std::string bytes;
  bytes.reserve(encoded.size() / 4 * 3 + 3);
  for (std::size_t start = 0; start < encoded.size(); start += 4) {
    char places[4];
    for (std::size_t index = 0; index < 4; ++index) {
      places[index] = start + index < encoded.size() ? encoded[start + index] : kPadding;
    }
    const int count = ByteCountOf(places);
    if (count < 0) throw CheckError(ErrorNumber::InvalidArgument);

    const auto digit = [&places](int index) {
      return static_cast<unsigned>(ValueOf(static_cast<unsigned char>(places[index])));
    };
    const unsigned a = digit(0), b = digit(1), c = digit(2), d = digit(3);
    const char group[3] = {
        static_cast<char>((a * 4 + b / 16) & 0xFF),
        static_cast<char>(((b % 16) * 16 + c / 4) & 0xFF),
        static_cast<char>(((c % 4) * 64 + d) & 0xFF),
    };
    bytes.append(group, static_cast<std::size_t>(count));
  }
  return bytes;
}

// Each character stands for its bytes in the ANSI code page. On a
// double-byte code page a character may take two bytes; the encoding covers
// the text's bytes as they are, so such a password still comes back whole
// from DecodePassword. A character without a code in the code page becomes
// "?", as it would anyway when the password reaches the system's ANSI
// networking functions.
std::wstring EncodePassword(const std::wstring& clear) {
  const std::string encoded = Base64Encode(ToAnsi(clear));
  return std::wstring(encoded.begin(), encoded.end());
}

std::wstring DecodePassword(const std::wstring& encoded) {
  // The encoded text is ASCII by construction. Every other character must
  // keep its one place in its group and count as outside the alphabet, so it
  // is narrowed to one byte here rather than converted through the code
  // page, where it could take two bytes or turn into a digit.
  constexpr char kOutsideAlphabet = '?';
  std::string narrow;
  narrow.reserve(encoded.size());
  for (wchar_t c : encoded) {
    narrow += IsAscii(c) ? static_cast<char>(c) : kOutsideAlphabet;
  }
  return FromAnsi(Base64Decode(narrow));
}

}  // namespace quarnel

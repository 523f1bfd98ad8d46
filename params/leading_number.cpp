#include "params/leading_number.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstddef>
#include <string>
#include <system_error>

#include "support/check_error.h"
#include "support/text.h"

namespace quarnel {
namespace {

// The parts of the leading number, as ASCII digit texts.
struct NumberParts {
  bool negative = false;
  std::string integerDigits;
  std::string fractionDigits;
  bool exponentNegative = false;
  std::string exponentDigits;
};

// Walks the text, skipping the characters that do not count anywhere.
class SignificantCharacters {
 public:
  explicit SignificantCharacters(const std::wstring& text) : text_(text) {}

  // The next character that counts, or L'\0' at the end: the end, like a
  // NUL in the text, continues no number.
  wchar_t Peek() {
    while (position_ < text_.size() && IsSkipped(text_[position_])) ++position_;
    return position_ < text_.size() ? text_[position_] : L'\0';
  }
  bool TakeIf(wchar_t wanted) {
    if (Peek() != wanted) return false;
    Advance();
    return true;
  }
  // Takes an optional sign; true when it is "-".
  bool TakeNegativeSign() {
    if (TakeIf(L'-')) return true;
    TakeIf(L'+');
    return false;
  }
  // How much of the text the characters taken so far reach over.
  std::size_t TakenLength() const { return taken_; }
  // Gives back what was taken after `length`.
  void GiveBackTo(std::size_t length) { position_ = taken_ = length; }
  std::string TakeDigits() {
    std::string digits;
    for (wchar_t c = Peek(); IsDigit(c); c = Peek()) {
      digits += static_cast<char>(c);
      Advance();
    }
    return digits;
  }

 private:
  void Advance() { taken_ = ++position_; }
  static bool IsSkipped(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n'; }

  const std::wstring& text_;
  std::size_t position_ = 0;
  std::size_t taken_ = 0;
};

// The exponent counts only when digits follow its letter and sign: "1e" and
// "1e+" read as 1. Nothing is read after it.
void ReadExponent(SignificantCharacters& characters, NumberParts& parts) {
  const std::size_t beforeExponent = characters.TakenLength();
  if (!characters.TakeIf(L'e') && !characters.TakeIf(L'E')) return;
  parts.exponentNegative = characters.TakeNegativeSign();
  parts.exponentDigits = characters.TakeDigits();
  if (parts.exponentDigits.empty()) characters.GiveBackTo(beforeExponent);
}

// Decimal order of magnitude of a non-zero number: the power of ten just
// above it. Only its sign is needed, to tell a number too large for a double
// from one too small, so the exponent is capped far beyond any digit count.
long long OrderOfMagnitude(const NumberParts& parts) {
  const std::string digits = parts.integerDigits + parts.fractionDigits;
  const auto firstNonZero = digits.find_first_not_of('0');
  if (firstNonZero == std::string::npos) return 0;  // zero is never too large
  const auto leadingZeros = static_cast<long long>(firstNonZero);
  constexpr long long kExponentCap = 1'000'000'000'000LL;
  long long exponent = 0;
  for (char digit : parts.exponentDigits) {
    if (exponent < kExponentCap) exponent = exponent * 10 + (digit - '0');
  }
  if (parts.exponentNegative) exponent = -exponent;
  return static_cast<long long>(parts.integerDigits.size()) - leadingZeros + exponent;
}

double ToDouble(const NumberParts& parts) {
  // from_chars reads "." as the decimal point whatever the locale.
  std::string ascii = parts.integerDigits + '.' + parts.fractionDigits;
  if (!parts.exponentDigits.empty()) {
    ascii += parts.exponentNegative ? "e-" : "e";
    ascii += parts.exponentDigits;
  }
  double magnitude = 0.0;
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), magnitude);
  if (result.ec == std::errc::result_out_of_range) {
    if (OrderOfMagnitude(parts) > 0) throw CheckError(ErrorNumber::Overflow);
    magnitude = 0.0;
  }
  // "-0" reads as 0, not as a negative zero that would be written back "-0".
  return parts.negative && magnitude != 0.0 ? -magnitude : magnitude;
}

// Takes the parts of the leading number; returns the length of the text
// that they reach over, 0 when the text holds no number.
std::size_t TakeLeadingNumber(const std::wstring& text, NumberParts& parts) {
  SignificantCharacters characters(text);
  parts.negative = characters.TakeNegativeSign();
  parts.integerDigits = characters.TakeDigits();
  if (characters.TakeIf(L'.')) parts.fractionDigits = characters.TakeDigits();
  if (parts.integerDigits.empty() && parts.fractionDigits.empty()) return 0;
  ReadExponent(characters, parts);
  return characters.TakenLength();
}

}  // namespace

double ReadLeadingNumber(const std::wstring& text) {
  NumberParts parts;
  if (TakeLeadingNumber(text, parts) == 0) return 0.0;
  return ToDouble(parts);
}

std::wstring TextAfterLeadingNumber(const std::wstring& text) {
  NumberParts parts;
  return text.substr(TakeLeadingNumber(text, parts));
}

std::wstring FixedNumberText(double value) {
  if (value == 0) return L"0";  // -0 too: only negative numbers carry a sign
  // Fifteen significant digits, rounded once by the C library: "d.dddddddddddddde+XX".
  char scientific[32];
  std::snprintf(scientific, sizeof scientific, "%.14e", std::fabs(value));
  const std::string text(scientific);
  const auto exponentAt = text.find('e');
  const int exponent = std::atoi(text.c_str() + exponentAt + 1);
  std::wstring digits;
  for (std::size_t i = 0; i < exponentAt; ++i) {
    if (text[i] != '.') digits += static_cast<wchar_t>(text[i]);
  }
  digits.erase(digits.find_last_not_of(L'0') + 1);

  std::wstring result = value < 0 ? L"-" : L"";
  if (exponent >= 15 || exponent < -4) {
    result += digits.substr(0, 1);
    if (digits.size() > 1) result += L"." + digits.substr(1);
    const int magnitude = std::abs(exponent);
    result += exponent < 0 ? L"E-" : L"E+";
    if (magnitude < 10) result += L"0";
    result += std::to_wstring(magnitude);
  } else if (exponent < 0) {
    result += L"." + std::wstring(static_cast<std::size_t>(-exponent - 1), L'0') + digits;
  } else {
    const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= wholeDigits) {
      result += digits + std::wstring(wholeDigits - digits.size(), L'0');
    } else {
      result += digits.substr(0, wholeDigits) + L"." + digits.substr(wholeDigits);
    }
  }
  return result;
}

}  // namespace quarnel

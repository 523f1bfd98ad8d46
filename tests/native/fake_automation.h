#pragma once
// Stand-ins for the machine's clock and Automation runtime in native tests.
//
// FixedClock answers with a date the test sets and counts how often it was
// read. FakeAutomation behaves like oleaut32 on a US-English Windows for the
// cases the plug-in meets:
//   FormatDate       picture codes yyyy yy y mmmm mmm mm m dddd ddd dd d
//                    hh h nn n ss s q w ww (case ignored; m/mm right after an
//                    hour code mean minutes), "\" before a literal character,
//                    text in double quotes literal, every other character
//                    literal; the week starts on Sunday and week 1 holds
//                    1 January. An empty picture gives GeneralDateText.
//   FormatNumber     "#" (whole number, no separators, zero gives "") and
//                    "#0.0" (one decimal), both rounded half away from zero
//                    on the number's 15-digit decimal form, a negative
//                    number keeping its "-" even when it rounds to zero;
//                    other pictures throw std::invalid_argument so that a
//                    test notices.
//   DateFromText     exactly "d-Mon-yyyy h:n:s" (leading zeros optional),
//                    month names "Jan".."Dec" plus those registered with
//                    AcceptMonthName, compared without regard to case; the
//                    empty text and everything else give nothing.
//   GeneralDateText  "12/7/2026 9:05:03 AM"; only the date when the time is
//                    midnight, only the time on the zero date.
//   NumberText       up to 15 significant digits, no trailing zeros, E
//                    notation for very large or small numbers (60, 1.5, -1,
//                    1E+15), with `decimalSeparator`.
//   NumberFromRegionalText
//                    sign, digits, `decimalSeparator`, digits, exponent,
//                    blanks around; the thousands separator skipped
//                    wherever it stands among the integer digits, as
//                    oleaut32 does; nothing on overflow.
//   RegionalDigitGrouping
//                    `grouping` with "," as thousands separator, or "."
//                    when `decimalSeparator` is "," (US English or German
//                    settings).

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include "support/automation.h"
#include "support/ole_date.h"
#include "support/text.h"

namespace quarnel {

class FixedClock : public Clock {
 public:
  explicit FixedClock(OleDate now = 0) : now(now) {}
  OleDate Now() override {
    ++reads;
    return now;
  }

  OleDate now;
  int reads = 0;
};

class FakeAutomation : public Automation {
 public:
  FakeAutomation() {
    for (int month = 1; month <= 12; ++month) AcceptMonthName(kShortMonthNames[month - 1], month);
  }

  // Lets DateFromText read `name` as the month `month` (1..12).
  void AcceptMonthName(const std::wstring& name, int month) { monthNumbers_[Lower(name)] = month; }

  std::wstring decimalSeparator = L".";
  std::wstring grouping = L"3;0";

  std::wstring FormatDate(OleDate value, const std::wstring& picture) override {
    if (picture.empty()) return GeneralDateText(value);
    const CalendarFields fields = FieldsFromOleDate(value);
    std::wstring out;
    bool afterHour = false;
    for (std::size_t i = 0; i < picture.size();) {
      const wchar_t c = picture[i];
      if (c == L'\\') {
        if (i + 1 < picture.size()) out += picture[i + 1];
        i += 2;
        continue;
      }
      if (c == L'"') {
        const std::size_t close = picture.find(L'"', i + 1);
        out += picture.substr(i + 1, close == std::wstring::npos ? std::wstring::npos : close - i - 1);
        i = close == std::wstring::npos ? picture.size() : close + 1;
        continue;
      }
      const wchar_t letter = LowerChar(c);
      std::size_t run = 0;
      while (i + run < picture.size() && LowerChar(picture[i + run]) == letter) ++run;
      const std::size_t used = AppendDateCode(letter, run, fields, value, afterHour, out);
      if (used == 0) {
        out += c;
        ++i;
      } else {
        afterHour = letter == L'h';
        i += used;
      }
    }
    return out;
  }

  std::wstring FormatNumber(double value, const std::wstring& picture) override {
    // A negative number keeps its sign even when it rounds to zero ("-0.0").
    const std::wstring sign = value < 0 ? L"-" : L"";
    if (picture == L"#") {
      const std::wstring digits = RoundedDigits(value, 0);
      return sign + (digits == L"0" ? L"" : digits);
    }
    if (picture == L"#0.0") {
      std::wstring digits = RoundedDigits(value, 1);
      if (digits.size() < 2) digits.insert(0, 1, L'0');
      return sign + digits.substr(0, digits.size() - 1) + decimalSeparator + digits.substr(digits.size() - 1);
    }
    throw std::invalid_argument("FakeAutomation::FormatNumber: picture not supported");
  }

  std::optional<OleDate> DateFromText(const std::wstring& text) override {
    std::size_t pos = 0;
    const auto number = [&]() -> std::optional<int> {
      std::size_t digits = 0;
      int value = 0;
      while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9' && digits < 5) {
        value = value * 10 + (text[pos++] - L'0');
        ++digits;
      }
      return digits == 0 ? std::nullopt : std::optional<int>(value);
    };
    const auto skip = [&](wchar_t c) { return pos < text.size() && text[pos++] == c; };

    const auto day = number();
    if (!day || !skip(L'-')) return std::nullopt;
    const std::size_t nameEnd = text.find(L'-', pos);
    if (nameEnd == std::wstring::npos) return std::nullopt;
    const auto month = monthNumbers_.find(Lower(text.substr(pos, nameEnd - pos)));
    if (month == monthNumbers_.end()) return std::nullopt;
    pos = nameEnd + 1;
    const auto year = number();
    if (!year || !skip(L' ')) return std::nullopt;
    const auto hour = number();
    if (!hour || !skip(L':')) return std::nullopt;
    const auto minute = number();
    if (!minute || !skip(L':')) return std::nullopt;
    const auto second = number();
    if (!second || pos != text.size()) return std::nullopt;

    const CalendarFields fields{*year, month->second, *day, *hour, *minute, *second};
    if (fields.year < 100 || fields.year > 9999 || fields.day < 1 ||
        fields.day > DaysInMonth(fields.year, fields.month) || fields.hour > 23 ||
        fields.minute > 59 || fields.second > 59) {
      return std::nullopt;
    }
    return OleDateFromFields(fields);
  }

  std::wstring GeneralDateText(OleDate value) override {
    const CalendarFields f = FieldsFromOleDate(value);
    const std::wstring date = DecimalText(f.month) + L"/" + DecimalText(f.day) + L"/" + DecimalText(f.year);
    const std::wstring time = DecimalText(f.hour % 12 == 0 ? 12 : f.hour % 12) + L":" + TwoDigits(f.minute) +
                              L":" + TwoDigits(f.second) + (f.hour < 12 ? L" AM" : L" PM");
    if (std::trunc(value) == 0) return time;
    if (f.hour == 0 && f.minute == 0 && f.second == 0) return date;
    return date + L" " + time;
  }

  std::wstring NumberText(double value) override {
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%.15G", value);
    return ReplaceAll(buffer, L".", decimalSeparator);
  }

  std::optional<double> NumberFromRegionalText(const std::wstring& text) override {
    const std::wstring trimmed = TrimSpaces(text);
    std::wstring plain;  // the same number with "." as decimal point
    std::size_t pos = 0;
    const auto copyDigits = [&] {
      const std::size_t start = pos;
      while (pos < trimmed.size() && trimmed[pos] >= L'0' && trimmed[pos] <= L'9') plain += trimmed[pos++];
      return pos - start;
    };
    if (pos < trimmed.size() && (trimmed[pos] == L'+' || trimmed[pos] == L'-')) plain += trimmed[pos++];
    std::size_t mantissaDigits = copyDigits();
    const std::wstring thousands = ThousandsSeparator();
    while (trimmed.compare(pos, thousands.size(), thousands) == 0) {
      pos += thousands.size();
      mantissaDigits += copyDigits();
    }
    if (trimmed.compare(pos, decimalSeparator.size(), decimalSeparator) == 0) {
      plain += L'.';
      pos += decimalSeparator.size();
      mantissaDigits += copyDigits();
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (pos < trimmed.size() && (trimmed[pos] == L'e' || trimmed[pos] == L'E')) {
      plain += trimmed[pos++];
      if (pos < trimmed.size() && (trimmed[pos] == L'+' || trimmed[pos] == L'-')) plain += trimmed[pos++];
      if (copyDigits() == 0) return std::nullopt;
    }
    if (pos != trimmed.size()) return std::nullopt;
    const double value = std::wcstod(plain.c_str(), nullptr);
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
  }

  DigitGrouping RegionalDigitGrouping() override { return {ThousandsSeparator(), grouping}; }

 private:
  static constexpr const wchar_t* kShortMonthNames[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                                         L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
  static constexpr const wchar_t* kLongMonthNames[] = {
      L"January", L"February", L"March",     L"April",   L"May",      L"June",
      L"July",    L"August",   L"September", L"October", L"November", L"December"};
  static constexpr const wchar_t* kLongDayNames[] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                                      L"Thursday", L"Friday", L"Saturday"};

  std::wstring ThousandsSeparator() const { return decimalSeparator == L"," ? L"." : L","; }

  static wchar_t LowerChar(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }
  static std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = LowerChar(c);
    return text;
  }
  static std::wstring TwoDigits(int value) { return (value < 10 ? L"0" : L"") + DecimalText(value); }

  // Writes the date code that starts with a run of `run` letters `letter`
  // and returns how many of them it used; 0 when the letter is no code.
  static std::size_t AppendDateCode(wchar_t letter, std::size_t run, const CalendarFields& f, OleDate value,
                                    bool afterHour, std::wstring& out) {
    const OleDate firstOfYear = OleDateFromFields({f.year, 1, 1, 0, 0, 0});
    const OleDate firstSunday = 1;  // 31 December 1899
    const int weekday = static_cast<int>((DateDifference(L"d", firstSunday, value) % 7 + 7) % 7);
    switch (letter) {
      case L'y':
        if (run >= 4) return out += DecimalText(f.year), 4;
        if (run >= 2) return out += TwoDigits(f.year % 100), 2;
        return out += DecimalText(DateDifference(L"d", firstOfYear, value) + 1), 1;
      case L'm':
        if (afterHour && run <= 2) return out += run == 2 ? TwoDigits(f.minute) : DecimalText(f.minute), run;
        if (run >= 4) return out += kLongMonthNames[f.month - 1], 4;
        if (run == 3) return out += kShortMonthNames[f.month - 1], 3;
        return out += run == 2 ? TwoDigits(f.month) : DecimalText(f.month), run;
      case L'd':
        if (run >= 4) return out += kLongDayNames[weekday], 4;
        if (run == 3) return out += std::wstring(kLongDayNames[weekday], 3), 3;
        return out += run == 2 ? TwoDigits(f.day) : DecimalText(f.day), run;
      case L'h':
        return out += run >= 2 ? TwoDigits(f.hour) : DecimalText(f.hour), run >= 2 ? 2 : 1;
      case L'n':
        return out += run >= 2 ? TwoDigits(f.minute) : DecimalText(f.minute), run >= 2 ? 2 : 1;
      case L's':
        return out += run >= 2 ? TwoDigits(f.second) : DecimalText(f.second), run >= 2 ? 2 : 1;
      case L'q':
        return out += DecimalText((f.month - 1) / 3 + 1), 1;
      case L'w':
        if (run >= 2) return out += DecimalText(DateDifference(L"ww", firstOfYear, value) + 1), 2;
        return out += DecimalText(weekday + 1), 1;
      default:
        return 0;
    }
  }

  // The digits of |value| * 10^decimals rounded half away from zero, taken
  // from the 15-significant-digit decimal form of value (so 0.05 with one
  // decimal gives "1" and 1.45 gives "15", as Automation rounds).
  static std::wstring RoundedDigits(double value, int decimals) {
    if (!std::isfinite(value)) throw std::invalid_argument("FakeAutomation::FormatNumber: not a finite number");
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));  // d.dddddddddddddde+XX
    const std::string mantissa = std::string(1, buffer[0]) + std::string(buffer + 2, 14);
    const int shift = std::atoi(buffer + 17) - 14 + decimals;  // value = mantissa * 10^(shift - decimals)
    std::string digits;
    if (shift >= 0) {
      digits = mantissa + std::string(shift, '0');
    } else if (-shift <= 15) {
      const std::size_t kept = 15 + shift;
      digits = mantissa.substr(0, kept);
      if (mantissa[kept] >= '5') {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i == 0) digits.insert(0, 1, '1');
        else ++digits[i - 1];
      }
    }
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    return firstNonZero == std::string::npos ? L"0" : std::wstring(digits.begin() + firstNonZero, digits.end());
  }

  std::map<std::wstring, int> monthNumbers_;
};

}  // namespace quarnel

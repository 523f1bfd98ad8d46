#pragma once
// The one reader of a number at the start of a text, used for the threshold
// (ReadConfiguration) and for the shift amount of a date placeholder, and the
// one writer of the threshold (WriteConfiguration), whose text it reads back.
// The dialog reads what the user types with the regional settings instead
// (Automation::NumberFromRegionalText).

#include <string>

namespace quarnel {

// Reads the longest leading run of the text that forms a number: an
// optional sign, digits with at most one "." as the decimal point (whatever
// the regional settings), and an optional exponent ("e" or "E", an optional
// sign, digits). Blanks, tabs and line feeds are skipped anywhere, also
// between the sign and the digits and inside them, so "+ 2" reads 2 and
// "2 5" reads 25. A text without such a run reads 0; so does a number too
// small for a double. Throws CheckError(Overflow) for a number too large for
// a double.
double ReadLeadingNumber(const std::wstring& text);

// What ReadLeadingNumber leaves unread: the text after the last character
// that its number takes, the whole text when there is no number. Blanks,
// tabs and line feeds in it change nothing.
std::wstring TextAfterLeadingNumber(const std::wstring& text);

// A threshold as the parameter string keeps it, independent of the regional
// settings: "." as decimal point, no grouping, no "0" before the point
// ('.25', '-.5'), no trailing zeros, at most 15 significant digits, and an
// exponent ('1E+20', '1.5E-07') for magnitudes from 1E+15 and below 1E-4.
// The check run reads every such text back as the same number.
std::wstring FixedNumberText(double value);

}  // namespace quarnel

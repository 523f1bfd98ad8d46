#pragma once
// Date placeholders in configured paths: "{", a date format picture, an
// optional shift such as " -1d", "}". A log that is started anew every day
// can be named as C:\logs\app{yyyymmdd}.log or C:\logs\app{yyyymmdd -1d}.log.

#include <string>

#include "support/automation.h"

namespace quarnel {

// Replaces the first placeholder of `text` by the current local date (read
// once from `clock`), shifted if asked, written with the placeholder's
// picture; a text without "{" comes back unchanged, and so does a
// placeholder whose picture formats to itself ("{x}"). The placeholder runs
// from the first "{" to the first "}" of the whole text. Throws
// CheckError(InvalidArgument) when that "}" lies more than one character in
// front of the "{", or when the text has a "{" after its first character
// and no "}" at all, and for the failures of FormatDatePlaceholder.
std::wstring ExpandDatePlaceholder(const std::wstring& text, Clock& clock, Automation& automation);

// Formats one placeholder, braces included; a text that does not begin with
// "{" and end with "}" comes back unchanged. Inside the braces, the first
// " +", or else the first " -", starts the shift: the text after the blank
// is a signed amount (read like a leading decimal number, none reading as 0)
// followed by one unit letter of ShiftDate (support/ole_date.h), and the
// text before it, trimmed of spaces, is the picture. Without a shift the
// whole inner text is the picture. Throws CheckError(InvalidArgument) for
// an unknown unit letter (also a digit or a sign in its place) and for a
// shifted date outside the years 100 to 9999.
std::wstring FormatDatePlaceholder(const std::wstring& placeholder, Clock& clock, Automation& automation);

}  // namespace quarnel

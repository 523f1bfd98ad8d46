#pragma once
// The parameter string: a check's whole configuration as one text of entries
// "#" key "=" value, closed by a last "#", for example
//   #FILE=\\srv\logs\app.log#WHT=SIZE#CMP=GT#VAL=100#UNIT=MB#AUTH=F#USR=#PWD=#DBG=F#FNF=F#
// The dialog writes it, the host stores it, the check run and the dialog read
// it back. All three functions are plain functions of their arguments.

#include <string>

namespace quarnel {

// The value of the first entry whose key, found without regard to letter
// case directly after a "#" and directly before "=", equals `key` trimmed of
// spaces. The value runs to the next "#" or to the end of the text and keeps
// its letter case and blanks. The empty text when the key is absent; never
// fails.
std::wstring GetParameter(const std::wstring& parameterString, const std::wstring& key);

// Key names are compared in this fold. It maps every character to exactly
// one character, so a position in the folded copy is the same position in
// the original text, and it covers the letters of ASCII and Latin-1 only,
// whatever the locale: no other character may fold onto an ASCII letter and
// make a key match where the text holds none.
std::wstring FoldKeyCase(const std::wstring& text);

// Escapes carriage returns, line feeds, double quotes and, when `escapeHash`
// is set, "#" as "{0x0d}", "{0x0a}", "{0x22}" and "{0x23}", so that the path
// can stand as a value. "{" itself is not escaped.
std::wstring EscapeValue(const std::wstring& value, bool escapeHash);

// Turns the sequences "{0xod}", "{0x0d}", "{0x0a}", "{0x20}", "{0x22}" and
// "{0x23}" (exact letter case) back into their characters. Parameter strings
// composed by hand may use "{0xod}" and "{0x20}", which EscapeValue never
// writes.
std::wstring UnescapeValue(const std::wstring& value);

}  // namespace quarnel

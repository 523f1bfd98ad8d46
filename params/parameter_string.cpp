#include "params/parameter_string.h"

#include "support/text.h"

namespace quarnel {
namespace {

// Not full Unicode rules: the dotless i or the long s would fold onto an
// ASCII letter, and the result would depend on the process's locale.
wchar_t FoldLetterCase(wchar_t c) {
  const bool asciiLower = c >= L'a' && c <= L'z';
  const bool latin1Lower = c >= 0xE0 && c <= 0xFE && c != 0xF7;  // 0xF7 is the division sign
  return (asciiLower || latin1Lower) ? static_cast<wchar_t>(c - 0x20) : c;
}

}  // namespace

std::wstring FoldKeyCase(const std::wstring& text) {
  std::wstring folded(text);
  for (wchar_t& c : folded) c = FoldLetterCase(c);
  return folded;
}

std::wstring GetParameter(const std::wstring& parameterString, const std::wstring& key) {
  const std::wstring wantedKey = TrimSpaces(FoldKeyCase(key));
  // A "#" always begins the next entry, so no entry has a key that holds one.
  if (Contains(wantedKey, L'#')) return std::wstring();

  const std::wstring folded = FoldKeyCase(parameterString);
  // The pattern holds its only "#" in front, so each candidate "#" in the
  // text is compared at most up to the next "#": the search stays linear in
  // the length of the text whatever the key.
  const auto entryStart = folded.find(L'#' + wantedKey + L'=');
  if (entryStart == std::wstring::npos) return std::wstring();

  const auto valueStart = entryStart + wantedKey.size() + 2;
  auto valueEnd = folded.find(L'#', entryStart + 1);
  if (valueEnd == std::wstring::npos) valueEnd = folded.size();
  return parameterString.substr(valueStart, valueEnd - valueStart);
}

std::wstring EscapeValue(const std::wstring& value, bool escapeHash) {
  std::wstring escaped = ReplaceAll(value, L"\r", L"{0x0d}");
  escaped = ReplaceAll(escaped, L"\n", L"{0x0a}");
  escaped = ReplaceAll(escaped, L"\"", L"{0x22}");
  if (escapeHash) escaped = ReplaceAll(escaped, L"#", L"{0x23}");
  return escaped;
}

std::wstring UnescapeValue(const std::wstring& value) {
  // The order matters only in that each row works on the result of the one
  // before; no replacement character occurs in any sequence, so one pass per
  // row gives the final text.
  static const struct {
    const wchar_t* sequence;
    const wchar_t* character;
  } kSequences[] = {
      {L"{0xod}", L"\r"},  // letters o and d; EscapeValue never writes it
      {L"{0x0d}", L"\r"},
      {L"{0x0a}", L"\n"},
      {L"{0x20}", L" "},  // EscapeValue never writes it either
      {L"{0x22}", L"\""},
      {L"{0x23}", L"#"},
  };
  std::wstring plain = value;
  for (const auto& row : kSequences) plain = ReplaceAll(plain, row.sequence, row.character);
  return plain;
}

}  // namespace quarnel

#include "support/text.h"

namespace quarnel {

// One copy of the kept characters and no intermediate one: a trimmed
// password leaves no second copy behind to wipe.
std::wstring TrimSpaces(const std::wstring& text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return std::wstring();
  return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

std::wstring ReplaceAll(const std::wstring& text, const std::wstring& from,
                        const std::wstring& to) {
  if (from.empty()) return text;
  std::wstring result;
  result.reserve(text.size());
  std::wstring::size_type start = 0;
  for (auto found = text.find(from); found != std::wstring::npos;
       found = text.find(from, start)) {
    result.append(text, start, found - start);
    result += to;
    start = found + from.size();
  }
  result.append(text, start, std::wstring::npos);
  return result;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::wstring& text, const std::wstring& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool Contains(const std::wstring& text, wchar_t c) {
  return text.find(c) != std::wstring::npos;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool AllDigits(const std::wstring& text) {
  for (wchar_t c : text) {
    if (!IsDigit(c)) return false;
  }
  return !text.empty();
}

bool HasWildcard(const std::wstring& path) { return path.find_first_of(L"?*") != std::wstring::npos; }

std::wstring DecimalText(long long value) { return std::to_wstring(value); }

}  // namespace quarnel

#pragma once
// Small text helpers shared by every subsystem. Texts are std::wstring
// throughout: UTF-16 on Windows, as BSTRs and the wide system calls hold them.

#include <optional>
#include <string>
#include <utility>

namespace quarnel {

// Removes leading and trailing space characters (code 32 only: tabs and
// line breaks stay, as the plug-in's rules for trimming say).
std::wstring TrimSpaces(const std::wstring& text);

// Replaces every occurrence of `from` (non-empty) in `text` by `to`, left to
// right, in one pass over the text.
std::wstring ReplaceAll(const std::wstring& text, const std::wstring& from,
                        const std::wstring& to);

bool StartsWith(const std::wstring& text, const std::wstring& prefix);
bool EndsWith(const std::wstring& text, const std::wstring& suffix);
bool Contains(const std::wstring& text, wchar_t c);
// Whether a character is one of the ASCII digits "0" to "9" (no other
// script's digits), and whether a text is one or more of them.
bool IsDigit(wchar_t c);
bool AllDigits(const std::wstring& text);
// Whether a path holds a wildcard of the file search ("*" or "?").
bool HasWildcard(const std::wstring& path);

// Decimal text of an integer, as the date texts and the result texts write it.
std::wstring DecimalText(long long value);

// A text made when it is first asked for, and kept: for texts that only
// some of the ways through a step need.
template <typename Make>
class LazyText {
 public:
  explicit LazyText(Make make) : make_(std::move(make)) {}
  const std::wstring& operator()() {
    if (!text_) text_ = make_();
    return *text_;
  }

 private:
  Make make_;
  std::optional<std::wstring> text_;
};

}  // namespace quarnel

#include "support/codepage.h"

namespace quarnel {

namespace {

bool IsLatin1(wchar_t c) { return c >= 0 && c <= 0xff; }

}  // namespace

std::string ToAnsi(const std::wstring& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (wchar_t c : text) bytes += IsLatin1(c) ? static_cast<char>(c) : '?';
  return bytes;
}

bool AnsiCodePageHolds(const std::wstring& text) {
  for (wchar_t c : text) {
    if (!IsLatin1(c)) return false;
  }
  return true;
}

std::wstring FromAnsi(const std::string& bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (char b : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(b));
  return text;
}

}  // namespace quarnel

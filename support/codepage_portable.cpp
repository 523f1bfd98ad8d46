#include "support/codepage.h"

namespace quarnel {

std::string ToAnsi(const std::wstring& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (wchar_t c : text) bytes += (c >= 0 && c <= 0xff) ? static_cast<char>(c) : '?';
  return bytes;
}

std::wstring FromAnsi(const std::string& bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (char b : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(b));
  return text;
}

}  // namespace quarnel

#include "support/codepage.h"

#include <windows.h>

namespace quarnel {

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return std::string();
  // No best-fit mapping: a character that the code page lacks becomes "?",
  // never a look-alike letter that would silently change a password.
  constexpr DWORD kFlags = WC_NO_BEST_FIT_CHARS;
  const int size = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(CP_ACP, kFlags, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(CP_ACP, kFlags, text.data(), size, bytes.data(), needed, nullptr, nullptr);
  return bytes;
}

std::wstring FromAnsi(const std::string& bytes) {
  if (bytes.empty()) return std::wstring();
  const int size = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring text(static_cast<size_t>(needed), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), needed);
  return text;
}

}  // namespace quarnel

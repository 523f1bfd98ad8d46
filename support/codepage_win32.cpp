#include "support/codepage.h"

#include "support/windows_win32.h"

namespace quarnel {
namespace {

bool AnsiCodePageIsUtf8() { return GetACP() == CP_UTF8; }

// No best-fit mapping: a character that the code page lacks becomes "?",
// never a look-alike letter that would silently change a password. A system
// whose ANSI code page is UTF-8 lacks no character and takes no such flag.
DWORD ConversionFlags() { return AnsiCodePageIsUtf8() ? 0 : WC_NO_BEST_FIT_CHARS; }

}  // namespace

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return std::string();
  const DWORD flags = ConversionFlags();
  const int size = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(CP_ACP, flags, text.data(), size, bytes.data(), needed, nullptr, nullptr);
  return bytes;
}

bool AnsiCodePageHolds(const std::wstring& text) {
  if (text.empty()) return true;
  const int size = static_cast<int>(text.size());
  if (AnsiCodePageIsUtf8()) {
    // UTF-8 reports no default character; only an unpaired surrogate fails.
    return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, nullptr, 0,
                               nullptr, nullptr) > 0;
  }
  BOOL usedDefault = FALSE;
  const int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr,
                                         0, nullptr, &usedDefault);
  return needed > 0 && !usedDefault;
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

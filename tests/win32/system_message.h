#pragma once
// The system's own message for an error code, as the tests expect it in
// the plug-in's texts.

#include "support/windows_win32.h"

#include <string>

namespace quarnel {

// The message without its final line break.
inline std::wstring SystemMessageLine(DWORD code) {
  wchar_t buffer[512] = {};
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, buffer, 512, nullptr);
  std::wstring line(buffer, length);
  while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r' || line.back() == L' '))
    line.pop_back();
  return line;
}

}  // namespace quarnel

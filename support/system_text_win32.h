#pragma once
// Texts that the system writes into a caller's buffer, however long.

#include "support/windows_win32.h"

#include <optional>
#include <string>

namespace quarnel {

// Calls `call(buffer, size)` of a system function that returns the number
// of characters it wrote, or the size it needs (its NUL included) when the
// buffer is too small, or 0 when it fails (GetFullPathNameW,
// GetSystemDirectoryW and the like), with a buffer as large as it asks for.
template <typename Call>
std::optional<std::wstring> SystemText(Call call) {
  std::wstring text(MAX_PATH, L'\0');  // a first guess, enough for most
  for (;;) {
    const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) return std::nullopt;
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(length);
  }
}

}  // namespace quarnel

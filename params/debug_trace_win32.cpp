#include "params/debug_trace_win32.h"

#include <windows.h>

#include "support/codepage.h"

namespace quarnel {

void DebugTrace(const std::wstring& text) {
  OutputDebugStringA(ToAnsi(text).c_str());
}

}  // namespace quarnel

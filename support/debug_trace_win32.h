#pragma once
// The system debugger output of this process, the output of a real check's
// trace lines.

#include <cstdint>
#include <string>

#include "support/debug_trace.h"

namespace quarnel {

// Converts the text to the ANSI code page and passes it to OutputDebugStringA.
void DebugTrace(const std::wstring& text);

// This process's debugger output: IsDebuggerPresent, the DBWIN objects that
// OutputDebugStringA hands lines to a monitor through (session-local and
// global), the kernel debugger, and DebugTrace.
class SystemDebuggerOutput : public DebuggerOutput {
 public:
  bool DebuggerAttached() override;
  bool OtherListenerPossible() override;
  std::uint64_t Microseconds() override;
  void Write(const std::wstring& line) override { DebugTrace(line); }
};

}  // namespace quarnel

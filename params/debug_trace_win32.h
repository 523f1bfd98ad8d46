#pragma once
// The system debugger output as the sink of a real check's trace lines.

#include <string>

#include "params/debug_trace.h"

namespace quarnel {

// Converts the text to the ANSI code page and passes it to OutputDebugStringA.
void DebugTrace(const std::wstring& text);

// The sink of a real check: every line goes through DebugTrace.
class DebuggerTraceSink : public TraceSink {
 public:
  void Trace(const std::wstring& line) override { DebugTrace(line); }
};

}  // namespace quarnel

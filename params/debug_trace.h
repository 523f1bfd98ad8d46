#pragma once
// Trace lines of a check go to the system debugger output, where a debugger
// or `quarnel-host trace` can read them. The portable logic writes them
// through a TraceSink, so that native tests can record them.

#include <string>

namespace quarnel {

class TraceSink {
 public:
  virtual ~TraceSink() = default;
  // Writes one line exactly as built: nothing is added or cut.
  virtual void Trace(const std::wstring& line) = 0;
};

}  // namespace quarnel

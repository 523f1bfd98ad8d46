#include "support/debug_trace.h"

namespace quarnel {

bool ListenedTraceSink::Heard() {
  if (output_.DebuggerAttached()) return true;
  const std::uint64_t now = output_.Microseconds();
  if (!decided_ || now - decidedAt_ >= kDecisionLifetimeMicroseconds) {
    otherListener_ = output_.OtherListenerPossible();
    decidedAt_ = now;
    decided_ = true;
  }
  return otherListener_;
}

}  // namespace quarnel

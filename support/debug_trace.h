#pragma once
// Trace lines of a check go to the system debugger output, where a debugger,
// a debug-output monitor (DebugView and the like) or `quarnel-host trace`
// can read them. Nothing switches them off; a line is only left unwritten,
// and unbuilt, when it is certain that nobody could receive it. The portable
// logic writes them through a TraceSink, so that native tests can record
// them.

#include <cstdint>
#include <string>

namespace quarnel {

class TraceSink {
 public:
  virtual ~TraceSink() = default;

  // Whether a line written now can reach anybody.
  virtual bool Heard() = 0;
  // Writes one line exactly as built: nothing is added or cut.
  virtual void Write(const std::wstring& line) = 0;

  // Writes the line that `build` makes; builds it only when it can be heard.
  template <typename Build>
  void Trace(Build&& build) {
    if (Heard()) Write(build());
  }
  void Trace(const wchar_t* line) {
    if (Heard()) Write(line);
  }
};

// The debugger output of this process, and who could be listening to it.
class DebuggerOutput {
 public:
  virtual ~DebuggerOutput() = default;
  // A debugger attached to this process receives every line. Cheap: asked
  // before each line.
  virtual bool DebuggerAttached() = 0;
  // Whether anybody else may receive a line: a debug-output monitor or a
  // kernel debugger. Anything that cannot be ruled out counts. Costs some
  // system calls.
  virtual bool OtherListenerPossible() = 0;
  // A steady clock, in microseconds.
  virtual std::uint64_t Microseconds() = 0;
  virtual void Write(const std::wstring& line) = 0;
};

// The sink of one check. Whether anybody besides a debugger listens is
// decided at the check's first line and again whenever the last decision is
// 10 ms old, so a monitor started during a check receives every line from
// 10 ms after it started.
class ListenedTraceSink : public TraceSink {
 public:
  static constexpr std::uint64_t kDecisionLifetimeMicroseconds = 10000;

  explicit ListenedTraceSink(DebuggerOutput& output) : output_(output) {}
  bool Heard() override;
  void Write(const std::wstring& line) override { output_.Write(line); }

 private:
  DebuggerOutput& output_;
  bool decided_ = false;
  bool otherListener_ = false;
  std::uint64_t decidedAt_ = 0;
};

}  // namespace quarnel

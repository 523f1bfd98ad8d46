#include "support/debug_trace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_machine.h"

namespace quarnel {
namespace {

using fake::ScriptedOutput;

TEST(ListenedTraceSink, WritesAndBuildsALineOnlyWhereSomebodyCanHearIt) {
  constexpr std::uint64_t kNever = ~0ull;
  struct Case {
    const char* name;
    bool debugger;
    std::uint64_t monitorFrom;
    // Lines are traced at 0, 3, 6, ... 30 ms; these are the ones written.
    std::vector<int> writtenAt;
  };
  const Case cases[] = {
      {"a debugger hears every line", true, kNever, {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30}},
      {"a monitor from the start hears every line", false, 0,
       {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30}},
      // Decisions at 0, 12 and 24 ms: the monitor that appears at 5 ms is
      // found at 12 ms, within 10 ms of its start.
      {"a monitor that appears mid-check", false, 5000, {12, 15, 18, 21, 24, 27, 30}},
      {"nobody", false, kNever, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedOutput output;
    output.debugger = c.debugger;
    output.monitorFrom = c.monitorFrom;
    ListenedTraceSink sink(output);
    std::vector<int> builtAt;
    for (int ms = 0; ms <= 30; ms += 3) {
      output.now = ms * 1000ull;
      sink.Trace([&] {
        builtAt.push_back(ms);
        return L"line at " + std::to_wstring(ms);
      });
    }
    EXPECT_EQ(builtAt, c.writtenAt);
    std::vector<std::wstring> expected;
    for (int ms : c.writtenAt) expected.push_back(L"line at " + std::to_wstring(ms));
    EXPECT_EQ(output.written, expected);
    // A debugger needs no other question; otherwise one every 10 ms at most.
    EXPECT_EQ(output.probes, c.debugger ? 0 : 3);
  }
}

TEST(ListenedTraceSink, EachCheckDecidesAnewAtItsFirstLine) {
  ScriptedOutput output;
  ListenedTraceSink first(output);
  first.Trace(L"nobody yet");
  output.monitorFrom = 1;
  output.now = 1;
  ListenedTraceSink second(output);
  second.Trace(L"heard");
  EXPECT_EQ(output.written, std::vector<std::wstring>{L"heard"});
}

}  // namespace
}  // namespace quarnel

// A debug-output monitor as DebugView makes one (the DBWIN_BUFFER mapping
// and its two events) receives every trace line of a scan that runs with no
// debugger attached: the same lines that the stand-in host's debugger shows.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "program_run.h"
#include "test_files.h"

namespace quarnel {
namespace {

class DbwinMonitor {
 public:
  DbwinMonitor()
      : bufferReady_(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY")),
        dataReady_(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY")),
        buffer_(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize,
                                   L"DBWIN_BUFFER")),
        view_(static_cast<const char*>(MapViewOfFile(buffer_.get(), FILE_MAP_READ, 0, 0, kSize))) {
    EXPECT_TRUE(bufferReady_ && dataReady_ && buffer_ && view_);
    receiver_ = std::thread([this] { Receive(); });
  }
  ~DbwinMonitor() {
    stop_ = true;
    receiver_.join();
    UnmapViewOfFile(view_);
  }

  std::vector<std::string> Lines() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }

 private:
  static constexpr DWORD kSize = 4096;

  // The buffer holds the writer's process id, then the text.
  void Receive() {
    while (!stop_) {
      SetEvent(bufferReady_.get());
      if (WaitForSingleObject(dataReady_.get(), 50) != WAIT_OBJECT_0) continue;
      const std::string text(view_ + sizeof(DWORD), strnlen(view_ + sizeof(DWORD), kSize - 4));
      const std::lock_guard<std::mutex> lock(mutex_);
      lines_.push_back(text);
    }
  }

  unique_handle bufferReady_, dataReady_, buffer_;
  const char* view_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> lines_;
  std::thread receiver_;
};

// The lines that name the current time differ between two runs in their
// time only.
std::string WithoutTime(const std::string& line) {
  for (const std::string timed : {"in case Nn:", "in case Dn:", "COM CHECK: OUT: "}) {
    if (line.rfind(timed, 0) == 0) return timed;
  }
  return line;
}

TEST(DbwinMonitor, ReceivesEveryLineOfAScan) {
  TestDirectory directory(L"dbwin");
  for (const wchar_t* name : {L"a.log", L"b.log", L"c.log"}) directory.MakeFile(name, 10);
  const std::wstring parameters =
      L"#FILE=" + directory.PathOf(L"*.log") + L"#WHT=OLDWRITE#CMP=GT#VAL=1#UNIT=D#DBG=F#";

  const ProgramRun traced = RunProgram({HostPath(), L"check", L"--trace", parameters});
  std::vector<std::string> expected;
  for (const std::string& line : traced.lines) {
    if (line.rfind("trace: ", 0) == 0) expected.push_back(WithoutTime(line.substr(7)));
  }
  ASSERT_GT(expected.size(), 9u);  // three lines per file, then the evaluation's

  std::vector<std::string> received;
  {
    DbwinMonitor monitor;
    const ProgramRun run = RunProgram({HostPath(), L"check", parameters});
    EXPECT_EQ(run.exitCode, traced.exitCode);
    for (const std::string& line : monitor.Lines()) received.push_back(WithoutTime(line));
  }
  EXPECT_EQ(received, expected);
}

}  // namespace
}  // namespace quarnel

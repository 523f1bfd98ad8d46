#include "host/watchdog.h"

#include "support/windows_win32.h"

namespace quarnel {

Watchdog::Watchdog(std::chrono::seconds limit, std::function<void()> report, unsigned exitCode)
    : report_(std::move(report)), exitCode_(exitCode), watcher_([this, limit] { Watch(limit); }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    stop_ = true;
  }
  stopped_.notify_one();
  watcher_.join();
}

void Watchdog::Watch(std::chrono::seconds limit) {
  std::unique_lock<std::mutex> guard(lock_);
  if (stopped_.wait_for(guard, limit, [this] { return stop_; })) return;
  report_();
  // The call still runs on the other thread, perhaps inside the plug-in:
  // an orderly exit could wait for it forever.
  TerminateProcess(GetCurrentProcess(), exitCode_);
}

}  // namespace quarnel

#pragma once
// Ends the whole process when a call does not come back in time: a plug-in
// that hangs must not hang the host's caller as well.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace quarnel {

class Watchdog {
 public:
  // From now on, `limit` is given until the watchdog is destroyed; after
  // that, `report` says so and the process ends with `exitCode`.
  Watchdog(std::chrono::seconds limit, std::function<void()> report, unsigned exitCode);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  void Watch(std::chrono::seconds limit);

  std::function<void()> report_;
  unsigned exitCode_;
  std::mutex lock_;
  std::condition_variable stopped_;
  bool stop_ = false;
  std::thread watcher_;
};

}  // namespace quarnel

#pragma once
// Ends the whole process with exit code 2 when a call does not come back in
// time: a plug-in that hangs must not hang the host's caller as well.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace quarnel {

class Watchdog {
 public:
  // From now on, `limit` is given until the watchdog is destroyed; after
  // that, `message` goes to the error output and the process ends.
  Watchdog(std::chrono::seconds limit, std::wstring message);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  void Watch(std::chrono::seconds limit);

  std::wstring message_;
  std::mutex lock_;
  std::condition_variable stopped_;
  bool stop_ = false;
  std::thread watcher_;
};

}  // namespace quarnel

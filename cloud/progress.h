#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace zeziza::cloud {

// A refusal the user is told as it stands (the page shows it as its message).
class Refusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Thrown inside a step when its page asked it to stop.
class Cancelled : public std::runtime_error {
 public:
  Cancelled() : std::runtime_error("已取消") {}
};

// The time stamp that starts an upload log line: the local time of day as "HH:MM:SS ".
std::string logStamp(std::chrono::system_clock::time_point when);

// What a running step tells its page: log lines, the count of rows sent, and whether it should
// stop. Written by the step's thread, read by the page's requests.
class Progress {
 public:
  // Adds a line stamped with the current time of day.
  void log(const std::string& message);
  void addSent(std::size_t rows) { sent_ += rows; }
  std::size_t sent() const { return sent_; }
  // The lines logged since the last call, oldest first.
  std::vector<std::string> takeLines();

  void requestStop() { stop_ = true; }
  // Throws Cancelled when a stop was requested.
  void checkpoint() const {
    if (stop_) throw Cancelled();
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> lines_;
  std::atomic<std::size_t> sent_{0};
  std::atomic<bool> stop_{false};
};

}  // namespace zeziza::cloud

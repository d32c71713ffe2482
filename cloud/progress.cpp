#include "cloud/progress.h"

#include <ctime>
#include <utility>

namespace zeziza::cloud {

namespace {

std::string padded(long value, int digits) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < digits) {
    text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
  }
  return text;
}

}  // namespace

std::string logStamp(std::chrono::system_clock::time_point when, int millisecondDigits) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() % 1000;
  return padded(local.tm_hour, 2) + ":" + padded(local.tm_min, 2) + ":" + padded(local.tm_sec, 2) +
         ":" + padded(static_cast<long>(millis), millisecondDigits);
}

void Progress::log(const std::string& message, int millisecondDigits) {
  std::string line = logStamp(std::chrono::system_clock::now(), millisecondDigits) + message;
  std::lock_guard lock(mutex_);
  lines_.push_back(std::move(line));
}

std::vector<std::string> Progress::takeLines() {
  std::lock_guard lock(mutex_);
  return std::exchange(lines_, {});
}

}  // namespace zeziza::cloud

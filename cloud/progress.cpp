#include "cloud/progress.h"

#include <ctime>
#include <utility>

#include "base/platform/process.h"
namespace zeziza::cloud {

std::string logStamp(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  const std::tm local = platform::localParts(seconds);
  char text[16];
  return std::string(text, std::strftime(text, sizeof text, "%H:%M:%S ", &local));
}

void Progress::log(const std::string& message) {
  std::string line = logStamp(std::chrono::system_clock::now()) + message;
  std::lock_guard lock(mutex_);
  lines_.push_back(std::move(line));
}

std::vector<std::string> Progress::takeLines() {
  std::lock_guard lock(mutex_);
  return std::exchange(lines_, {});
}

}  // namespace zeziza::cloud

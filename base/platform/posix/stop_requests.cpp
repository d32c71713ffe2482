#include "base/platform/stop_requests.h"

#include <signal.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace zeziza::platform {

namespace {

// Set by the signal thread; one per process, as the signals are.
std::atomic<bool>& stopFlag() {
  static std::atomic<bool> flag{false};
  return flag;
}

sigset_t stopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

// The signals are blocked in every thread and taken by one thread of their own.
StopRequests::StopRequests() {
  const sigset_t signals = stopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread([signals] {
    int signal = 0;
    sigwait(&signals, &signal);
    stopFlag() = true;
  }).detach();
}

StopRequests::~StopRequests() = default;

bool StopRequests::requested() const {
  return stopFlag();
}

void StopRequests::wait() const {
  while (!stopFlag()) std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

void StopRequests::finished() {}

}  // namespace zeziza::platform

#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "base/platform/sockets.h"

namespace zeziza::web {

// The connections of the server and the time each has had for its current request. A request
// whose header and body (and, later, the answer's sending) take longer than the deadline as a
// whole has its connection shut, however steadily the client trickles bytes; the time a
// page event spends on a worker does not count.
class RequestDeadline {
 public:
  using Clock = std::chrono::steady_clock;

  struct Connection {
    explicit Connection(platform::SocketHandle s) : socket(s) {}
    const platform::SocketHandle socket;
    std::atomic<Clock::rep> since{Clock::now().time_since_epoch().count()};
    std::atomic<bool> working{false};
    bool shut = false;  // guarded by the watch's mutex

    // A new request may begin: its time starts now.
    void restart() { since = Clock::now().time_since_epoch().count(); }
  };

  RequestDeadline(std::chrono::milliseconds deadline, std::chrono::milliseconds period);
  ~RequestDeadline();
  RequestDeadline(const RequestDeadline&) = delete;
  RequestDeadline& operator=(const RequestDeadline&) = delete;

  // Called when a connection opens and before its socket closes.
  Connection* opened(platform::SocketHandle socket);
  void closed(Connection* connection);
  // Shuts every connection past the deadline as of `now`; returns how many.
  std::size_t shutOverdue(Clock::time_point now);

 private:
  void watch();

  std::chrono::milliseconds deadline_;
  std::chrono::milliseconds period_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::map<Connection*, std::unique_ptr<Connection>> connections_;
  std::thread thread_;
};

}  // namespace zeziza::web

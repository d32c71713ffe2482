#include "web/request_deadline.h"

namespace zeziza::web {

RequestDeadline::RequestDeadline(std::chrono::milliseconds deadline,
                                 std::chrono::milliseconds period)
    : deadline_(deadline), period_(period), thread_([this] { watch(); }) {}

RequestDeadline::~RequestDeadline() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

RequestDeadline::Connection* RequestDeadline::opened(platform::SocketHandle socket) {
  auto connection = std::make_unique<Connection>(socket);
  auto* raw = connection.get();
  std::lock_guard lock(mutex_);
  connections_.emplace(raw, std::move(connection));
  return raw;
}

void RequestDeadline::closed(Connection* connection) {
  // The server closes the socket only after this returns, so a shut under the same lock never
  // reaches a descriptor that was reused.
  std::lock_guard lock(mutex_);
  connections_.erase(connection);
}

std::size_t RequestDeadline::shutOverdue(Clock::time_point now) {
  std::size_t shut = 0;
  std::lock_guard lock(mutex_);
  for (const auto& [key, c] : connections_) {
    if (c->shut || c->working) continue;
    const Clock::time_point since{Clock::duration(c->since.load())};
    if (now - since < deadline_) continue;
    // The event loop sees the end of the stream and closes the connection itself.
    platform::shutdownSocket(c->socket);
    c->shut = true;
    ++shut;
  }
  return shut;
}

void RequestDeadline::watch() {
  std::unique_lock lock(mutex_);
  while (!wake_.wait_for(lock, period_, [this] { return stop_; })) {
    lock.unlock();
    shutOverdue(Clock::now());
    lock.lock();
  }
}

}  // namespace zeziza::web

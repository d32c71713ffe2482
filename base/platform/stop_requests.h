#pragma once

namespace zeziza::platform {

// Listens for the system asking the program to stop: SIGINT and SIGTERM on Linux; Ctrl+C,
// closing the console window, logging off and shutting down on Windows. Windows ends the
// process when its handler returns, so the handler waits (a few seconds at most) for
// finished() before it does.
class StopRequests {
 public:
  StopRequests();  // once, before other threads start
  ~StopRequests();
  StopRequests(const StopRequests&) = delete;
  StopRequests& operator=(const StopRequests&) = delete;

  bool requested() const;
  // Blocks until a stop is requested.
  void wait() const;
  // The program has stopped cleanly and may be ended.
  void finished();
};

}  // namespace zeziza::platform

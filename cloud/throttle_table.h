#pragma once

#include <chrono>
#include <string>

namespace zeziza::cloud {

namespace pg {
class Connection;
}

// How counted events slow down further attempts: once `freeCount` events were counted, each
// within `forgetAfter` of the one before, attempts wait `firstDelay`, doubling with every
// further event up to `maxDelay`.
struct ThrottleRule {
  int freeCount = 5;
  std::chrono::seconds firstDelay{30};
  std::chrono::seconds maxDelay{15 * 60};
  std::chrono::seconds forgetAfter{60 * 60};
};

// Counts failed sign-ins (or registrations) in the service's `throttle` table, so every
// instance of the results site sees the same counts; the server's clock decides.
class ThrottleTable {
 public:
  explicit ThrottleTable(ThrottleRule rule) : rule_(rule) {}

  // How long `key` must still wait; zero when an attempt may go ahead.
  std::chrono::seconds waitFor(pg::Connection& connection, const std::string& key) const;
  // Counts one event of `key` and sets the wait that follows it.
  void count(pg::Connection& connection, const std::string& key) const;
  // Counts an attempt before it is made, in one statement: attempts at once are counted one
  // after the other, so no more go ahead than the rule lets. Zero when this attempt may go
  // ahead (and is counted), else how long `key` must still wait (and nothing is counted). An
  // attempt that succeeds is forgotten or refunded by the caller.
  std::chrono::seconds admit(pg::Connection& connection, const std::string& key) const;
  // Takes back one counted attempt that turned out not to count (a name registered already).
  void refund(pg::Connection& connection, const std::string& key) const;
  void forget(pg::Connection& connection, const std::string& key) const;
  // Removes the entries nothing has been counted for since the rule forgets them.
  void removeStale(pg::Connection& connection) const;

 private:
  ThrottleRule rule_;
};

}  // namespace zeziza::cloud

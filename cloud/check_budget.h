#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace zeziza::cloud {

namespace pg {
class Connection;
}

// How many password checks one account gets, whatever the number of addresses asking: `burst`
// at once, then one every `interval`. A check beyond that may wait its turn, up to
// `longestWait`; one that would wait longer is not booked. Nothing is remembered of failures,
// so the owner is slowed while others guess but never locked out. By default no check waits:
// a waiting request would hold one of the site's few places for password hashing, and
// guessers could fill them all.
struct CheckBudgetRule {
  std::chrono::milliseconds interval{2000};
  int burst = 10;
  std::chrono::milliseconds longestWait{0};
};

// Books password checks of accounts in the service's `check_budget` table, so every instance
// of the results site shares one budget per account; the server's clock decides.
class CheckBudget {
 public:
  explicit CheckBudget(CheckBudgetRule rule) : rule_(rule) {}

  // Books the next check of `key` (an account, or a student of one): how long to wait before
  // making it; nullopt when the budget is booked beyond the longest wait.
  std::optional<std::chrono::milliseconds> book(pg::Connection& connection,
                                                const std::string& key) const;
  // Gives back the check of a right password: the owner's own sign-ins spend no budget.
  void giveBack(pg::Connection& connection, const std::string& key) const;

 private:
  CheckBudgetRule rule_;
};

}  // namespace zeziza::cloud

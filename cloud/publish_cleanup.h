#pragma once

#include <cstdint>

namespace zeziza::cloud {

namespace pg {
class Connection;
}

struct LoopLists;
struct PublishChoice;

// A number of its own for each publication: every row it sends carries it, so what an earlier
// publication sent and this one did not is told apart.
std::int64_t newPublication(pg::Connection& connection);

// What one publication of an exam covers: its subjects, units, grades and classes, and which
// ranking and statistics scopes it sends.
struct PublicationScope {
  std::int64_t account = 0;
  std::int64_t project = 0;
  std::int64_t publication = 0;
  const LoopLists& loops;
  const PublishChoice& choice;
};

// Removes the exam's rows within the scope that `scope.publication` did not send: scores
// removed at the school, the scores of students removed there, and rankings and statistics of
// scopes that have no scores any more. Rows outside the scope stay.
void removeUnsent(pg::Connection& connection, const PublicationScope& scope);

}  // namespace zeziza::cloud

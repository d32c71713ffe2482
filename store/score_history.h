#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zeziza::store {

class Database;

// One change of one score, as the history keeps it.
struct ScoreChange {
  std::string userName;
  std::string exam;
  std::int64_t studentKey = 0;  // ks.bh
  int subjectPosition = 0;      // k1 .. k12
  double oldValue = 0;
  double newValue = 0;
  std::string page;  // the page class that made the change
};

struct ScoreHistoryEntry {
  std::string changedAt;  // local time, "YYYY-MM-DD HH:MM:SS"
  ScoreChange change;
};

// Appends a change; call inside the transaction that makes the change, so the two are never
// separated. An unchanged value is not recorded.
void appendScoreHistory(Database& db, const ScoreChange& change);
// The changes of one student's scores in `exam` (every exam when it is empty), newest first.
std::vector<ScoreHistoryEntry> readScoreHistory(Database& db, const std::string& exam,
                                                std::int64_t studentKey);

}  // namespace zeziza::store

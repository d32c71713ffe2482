#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zeziza::store {

class Database;

// `cj` has one score column per subject position, k1 … k12.
inline constexpr int kScoreColumns = 12;

// Who changes a score, and on which page: every change is kept in the score history.
struct ScoreAuthor {
  std::string_view userName;
  std::string_view page;
};

// One subject score of one student in one exam.
struct ScoreWrite {
  std::string_view exam;        // the exam name
  std::int64_t student = 0;     // ks.bh
  int subject = 0;              // position in the subject list, from 1
  double value = 0;             // above 0 is a score; 0 or less is none
  int subjectCount = 0;         // subjects in the list now: the columns the totals cover
  bool keepValidScore = false;  // refuse to replace a score above 0 (score clerks)
  ScoreAuthor author;           // who made the change, for the score history
};

enum class ScoreWriteResult {
  Inserted,      // a new row for the exam and student
  Updated,       // the existing row holds the value; totals recomputed
  RowDeleted,    // the row was left without a valid score and is gone
  KeptExisting,  // keepValidScore refused to replace a valid score; nothing written
};

struct ScoreWriteOutcome {
  ScoreWriteResult result;
  std::int64_t rowId = 0;  // cj.id of the row written; 0 when deleted or refused
};

// The lookup key of a score row: the exam name, "!&", the student key in decimal.
std::string scoreKey(std::string_view exam, std::int64_t student);

// Writes one score inside the caller's open transaction (batches of scores).
ScoreWriteOutcome applyScore(Database& db, const ScoreWrite& change);
// Writes one score in a transaction of its own, so the lookup, the change and the totals
// cannot interleave with another writer. Returns once the change is committed.
ScoreWriteOutcome writeScore(Database& db, const ScoreWrite& change);
// Writes several scores in one transaction: all of them or, when one throws, none.
std::vector<ScoreWriteOutcome> writeScores(Database& db, std::span<const ScoreWrite> changes);

// Sets one subject of row `rowId` to 0 and recomputes the totals; the row is kept even
// when no valid score remains. False when there is no such row.
bool clearScore(Database& db, std::int64_t rowId, int subject, int subjectCount,
                const ScoreAuthor& author = {});

}  // namespace zeziza::store

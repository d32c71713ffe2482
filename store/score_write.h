#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/score_fit.h"
#include "store/subject_columns.h"

namespace zeziza::store {

class Database;

// The scores of a row, k1 … k12.
using ScoreColumns = std::array<double, kMaxSubjects>;

// A row's total and average over the valid scores (above 0) of its first `subjectCount`
// columns; the average has three decimals, rounded half away from zero.
struct ScoreTotals {
  double total = 0;
  double average = 0;
  int count = 0;
};
ScoreTotals scoreTotals(const ScoreColumns& scores, int subjectCount);

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
  double value = 0;             // above 0 is a score; 0 is none; below 0 is refused
  int subjectCount = 0;         // subjects in the list now: the columns the totals cover
  bool keepValidScore = false;  // refuse to replace a score above 0 (score clerks)
  ScoreAuthor author;           // who made the change, for the score history
};

enum class ScoreWriteResult {
  Inserted,      // a new row for the exam and student
  Updated,       // the existing row holds the value; totals recomputed
  RowDeleted,    // the row was left without a valid score and is gone
  KeptExisting,  // keepValidScore refused to replace a valid score; nothing written
  NoRow,         // no score for a student without a row: none is made for nothing
  Unchanged,     // the row already holds the value; nothing written
  Refused,       // not a finite number, negative or above the full mark; nothing written
};

struct ScoreWriteOutcome {
  ScoreWriteResult result;
  std::int64_t rowId = 0;  // cj.id of the row written; 0 when deleted or refused
  analysis::ScoreFault fault = analysis::ScoreFault::None;  // why it was refused
  int fullMark = 0;                                         // the subject's, when refused
};

// The full marks of the first `subjectCount` subjects as stored; an unset one reads as 100.
std::vector<int> subjectFullMarks(Database& db, int subjectCount);

// The lookup key of a score row: the exam name, "!&", the student key in decimal.
std::string scoreKey(std::string_view exam, std::int64_t student);

// Every write refuses a value that is not finite, negative or above the subject's full mark,
// and keeps no row without a valid score: a student whose last score goes has no row for the
// exam.

// What a batch of scores did, as the pages tell it.
struct WriteCounts {
  std::size_t written = 0;    // a score stored
  std::size_t deleted = 0;    // a score taken away (0 or a blank)
  std::size_t unchanged = 0;  // already so: the same score, or no score where none was
  // Counts one write of `value` that stored (not refused, not kept by a clerk's check).
  void add(ScoreWriteResult result, double value);
};

// Writes one score inside the caller's open transaction (batches of scores).
ScoreWriteOutcome applyScore(Database& db, const ScoreWrite& change);
// Writes one score in a transaction of its own, so the lookup, the change and the totals
// cannot interleave with another writer. Returns once the change is committed.
ScoreWriteOutcome writeScore(Database& db, const ScoreWrite& change);
// Writes several scores in one transaction: all of them or, when one throws, none. A refused
// value is left out and told in its outcome; the others are written.
std::vector<ScoreWriteOutcome> writeScores(Database& db, std::span<const ScoreWrite> changes);

// Sets one subject of row `rowId` to 0 and recomputes the totals; the row goes when no valid
// score remains. False when there is no such row.
bool clearScore(Database& db, std::int64_t rowId, int subject, int subjectCount,
                const ScoreAuthor& author = {});

}  // namespace zeziza::store

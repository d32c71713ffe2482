#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/score_fit.h"
#include "store/score_write.h"

namespace zeziza::store {

class Database;

// One pasted line: a student number (`ks.id`, as typed) and its score.
struct ImportLine {
  std::string studentNumber;
  double value = 0;
};

// One pasted line of several subjects: a student number and a score per subject (1-based).
struct ImportRow {
  std::string studentNumber;
  std::vector<std::pair<int, double>> values;
};

// A score an import may not store: not finite, negative or above the subject's full mark.
struct RefusedScore {
  std::size_t row = 0;  // the line, from 0
  int subject = 0;      // from 1
  double value = 0;
  int fullMark = 0;
  analysis::ScoreFault fault = analysis::ScoreFault::None;
};

// An import is stored whole or not at all: nothing is written when a score is refused or a
// student has gone since the page checked the numbers.
struct ImportOutcome {
  std::vector<RefusedScore> refused;    // every refused score, in line order
  std::optional<std::size_t> vanished;  // the first line whose student no longer exists
  WriteCounts counts;                   // per score, when written
  bool written() const { return refused.empty() && !vanished; }
};

// Writes every line's score for one subject of `exam` in one transaction, a batch of lines
// per statement. A value of 0 is no score: the student's stored score goes, as on every entry
// path. A store error throws and writes nothing.
ImportOutcome importScores(Database& db, std::string_view exam, int subject, int subjectCount,
                           std::span<const ImportLine> lines, const ScoreAuthor& author = {});

// The same for rows of several subjects, a 0 taking that subject's stored score away.
ImportOutcome importScoreRows(Database& db, std::string_view exam, int subjectCount,
                              std::span<const ImportRow> rows, const ScoreAuthor& author = {});

}  // namespace zeziza::store

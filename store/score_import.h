#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/score_write.h"

namespace zeziza::store {

class Database;

// One pasted line: a student number (`ks.id`, as typed) and its score.
struct ImportLine {
  std::string studentNumber;
  double value = 0;
};

// Writes every line's score for one subject of `exam` in one transaction, so an import is
// stored whole or not at all. A value of 0 leaves the student's stored score alone. Returns
// the index of the first line whose student no longer exists (nothing is written then), or
// nullopt when every line was written. A store error throws and writes nothing.
std::optional<std::size_t> importScores(Database& db, std::string_view exam, int subject,
                                        int subjectCount, std::span<const ImportLine> lines,
                                        const ScoreAuthor& author = {});

// One pasted line of several subjects: a student number and a score per subject (1-based).
struct ImportRow {
  std::string studentNumber;
  std::vector<std::pair<int, double>> values;
};

// The same for rows of several subjects: all rows in one transaction, a 0 leaving that
// subject's stored score alone; the index of the first row whose student no longer exists
// (nothing written), or nullopt.
std::optional<std::size_t> importScoreRows(Database& db, std::string_view exam, int subjectCount,
                                           std::span<const ImportRow> rows,
                                           const ScoreAuthor& author = {});

}  // namespace zeziza::store

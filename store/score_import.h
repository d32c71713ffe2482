#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

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

}  // namespace zeziza::store

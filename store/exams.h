#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "store/score_write.h"

namespace zeziza::store {

class Database;

// Whether any score row belongs to the exam called `exam`.
bool examHasScores(Database& db, std::string_view exam);

// The number of score rows of `exam`.
std::int64_t examScoreRows(Database& db, std::string_view exam);

// Deletes every score row of `exam`, each of its scores kept in the history as taken to 0 by
// `author`, all in one transaction. Only when the exam still holds the `expectedRows` rows the
// user was shown: otherwise nothing is deleted and nullopt returned.
std::optional<std::int64_t> deleteExamScores(Database& db, std::string_view exam,
                                             std::int64_t expectedRows, const ScoreAuthor& author);

}  // namespace zeziza::store

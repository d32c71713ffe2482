#pragma once

#include <string>
#include <vector>

#include "analysis/report_cards.h"

namespace zeziza::store {

class Database;

// The score rows of `exam` with the first `subjectCount` subject columns (k1 …), within one
// unit and one grade when they are named (empty: all), by unit, grade, class and 考号.
std::vector<analysis::StudentScores> readExamScoreRows(Database& db, const std::string& exam,
                                                       const std::string& unit,
                                                       const std::string& grade,
                                                       std::size_t subjectCount);

}  // namespace zeziza::store

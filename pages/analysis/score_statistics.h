#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/statistics.h"
#include "store/query.h"
#include "store/value.h"

namespace zeziza::pages {

// The statistics of one subject over a whole query result; no record when fewer than two
// students have a score above 0.
struct SubjectRecord {
  std::string subject;
  std::optional<analysis::ScoreStatistics> stats;
};

// A score field as a number: null reads as 0. A text that is not wholly a number throws
// instead of counting as a wrong score.
double scoreValue(const store::Value& value);

// One record per subject, in subject order, over every row of `result` (the cursor is not
// moved), reading the result column named after the subject. `countEnrolled` is asked once,
// and only when some subject has a record.
std::vector<SubjectRecord> subjectRecords(const store::Query& result,
                                          const std::vector<std::string>& subjects,
                                          const analysis::LevelThresholds& thresholds,
                                          std::span<const int> bands,
                                          const std::function<int()>& countEnrolled);

// The same with each subject's levels and bands in its own points.
std::vector<SubjectRecord> subjectRecords(
    const store::Query& result, const std::vector<std::string>& subjects,
    const std::function<analysis::ScoreLimits(const std::string&)>& limitsOf,
    const std::function<int()>& countEnrolled);

// The same over values already read: `values[i]` holds subject i's value of every result row,
// in the result's order (see scoreValue).
std::vector<SubjectRecord> subjectRecords(
    const std::vector<std::string>& subjects, const std::vector<std::vector<double>>& values,
    const std::function<analysis::ScoreLimits(const std::string&)>& limitsOf,
    const std::function<int()>& countEnrolled);

}  // namespace zeziza::pages

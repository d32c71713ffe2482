#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/averages.h"

namespace zeziza::store {
class Database;
}

namespace zeziza::cloud {

class Progress;

// Names of the total and average rows of the scratch table (and of their subjects on the
// service).
inline constexpr const char* kTotalName = "总分";
inline constexpr const char* kAverageName = "平均分";

// Which ranks a preparation computes; a rank left out stays NULL.
struct RankChoice {
  bool overall = true;  // 总排名: within the grade across all units
  bool unit = true;     // 校内排名: within the unit and grade
  bool inClass = true;  // 班内排名: within the class
  bool shared = false;  // equal scores share a rank, the next one skipped (1, 1, 3)
};

// Fills `tem` of `temp` with the exam's scores from `data`: for every score row of the exam, in
// roster order, one row per subject of `subjects` whose score is above 0, then a 总分 row and a
// 平均分 row when those are above 0. What the table held is replaced in one transaction, so a
// refusal leaves it as it was. A student without a number is refused (Refusal), since the
// service keys scores by number. The 平均分 is by `averages`. Returns the number of rows written.
std::size_t fillScratchTable(store::Database& data, store::Database& temp, const std::string& exam,
                             const std::vector<std::string>& subjects, Progress& progress,
                             analysis::AverageBasis averages = analysis::AverageBasis::SubjectsSat);

// Ranks the scratch rows by score, highest first, with one statement per rank kind: 1, 2, 3 …
// within each grade and subject (and unit, and class); equal scores get consecutive ranks in
// the order the rows were written, or share one when the choice says so.
void rankScratchTable(store::Database& temp, const RankChoice& ranks, Progress& progress);

}  // namespace zeziza::cloud

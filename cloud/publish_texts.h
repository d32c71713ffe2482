#pragma once

#include <span>
#include <string>
#include <vector>

#include "analysis/ranks.h"
#include "analysis/statistics.h"

namespace zeziza::cloud {

// One scratch row as the upload reads it.
struct ScratchScore {
  std::int64_t id = 0;  // order of writing: ties keep it
  std::string stuid;    // decimal student number
  std::string name;
  std::string unit, grade, inClass, subject;
  double score = 0;
  std::optional<std::int64_t> overallRank, unitRank, classRank;
};

// The ranking text of a scope whose rows are in descending score order: one line per student,
// "1:[807]张三  95", each line ending in CR LF; equal scores share a rank when `mode` says so.
std::string rankingText(std::span<const ScratchScore* const> rows,
                        analysis::RankMode mode = analysis::RankMode::Sequential);

// The band text: "60=3人" per boundary, each line ending in CR LF.
std::string bandText(std::span<const int> bands, const analysis::ScoreStatistics& stats);
// The same with boundaries in the column's points (135=3人 for a 150-point subject).
std::string bandText(std::span<const double> bands, const analysis::ScoreStatistics& stats);

// The statistics columns of `tjb` in order, and their values for a record, formatted as every
// caller of the kernel formats them.
const std::vector<std::string>& statisticsColumns();
std::vector<std::string> statisticsValues(const analysis::ScoreStatistics& stats);

}  // namespace zeziza::cloud

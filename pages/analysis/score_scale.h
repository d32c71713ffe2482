#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/averages.h"
#include "analysis/full_marks.h"
#include "analysis/ranks.h"
#include "analysis/statistics.h"
#include "store/settings_cache.h"
#include "store/subject_columns.h"

namespace zeziza::store {
class Database;
}

namespace zeziza::pages {

// Levels, bands and full marks as an analysis of this request sees them: thresholds and bands
// from the settings cache, the full marks and the rate basis from the store (a store without
// them reads as 100 and as each band alone).
class ScoreScale {
 public:
  ScoreScale(const store::SettingsSnapshot& settings, store::Database& db);

  // A subject, "总分" or "平均分".
  analysis::FullMark fullMark(std::string_view column) const;
  analysis::ScoreLimits limits(std::string_view column) const;
  std::vector<std::string> bandCaptions(std::string_view column) const;
  // The band header of the subjects shown: the percentages, with the points of the one
  // subject when only one is shown.
  std::vector<std::string> sharedBandCaptions(const std::vector<std::string>& subjects) const;
  // The level a score of `column` falls in: 优秀, 良好, 及格, 不及格; empty for no score.
  std::string levelOf(std::string_view column, double value) const;

  analysis::RateBasis rateBasis() const { return rates_; }
  const std::vector<int>& bands() const { return bands_; }
  const std::vector<int>& fullMarks() const { return fullMarks_; }

 private:
  std::vector<std::string> subjects_;
  std::vector<int> fullMarks_;
  analysis::LevelThresholds thresholds_;
  std::vector<int> bands_;
  analysis::RateBasis rates_;
};

// The scale of this session's request.
ScoreScale sessionScoreScale();

// The rank mode set on the settings page.
analysis::RankMode sessionRankMode();

// The average basis set on the settings page.
analysis::AverageBasis sessionAverageBasis();
// 平均分 by that basis over the session's subject columns.
store::ScoreColumn sessionAverageColumn();

}  // namespace zeziza::pages

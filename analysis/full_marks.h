#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/statistics.h"

namespace zeziza::analysis {

// A subject's full mark when none was set.
inline constexpr int kDefaultFullMark = 100;

// The full mark of one score column, kept as a sum of subjects' full marks over their count so
// that a scaled limit is exact whenever its true value is a whole number (90 of 100 on an
// average of 150, 150 and 100 is exactly 120).
class FullMark {
 public:
  FullMark() = default;  // 100
  static FullMark ofSubject(int fullMark);
  // 总分: the sum of the subjects' full marks.
  static FullMark ofTotal(std::span<const int> subjects);
  // 平均分: the mean of the subjects' full marks.
  static FullMark ofAverage(std::span<const int> subjects);

  // Points out of 100 as points of this column.
  double scale(double pointsOutOf100) const;
  double value() const { return scale(100); }
  bool operator==(const FullMark&) const = default;

 private:
  FullMark(long long sum, long long count) : sum_(sum), count_(count) {}
  long long sum_ = kDefaultFullMark;
  long long count_ = 1;
};

// The full marks of the subject list, position by position; an entry that is missing, empty or
// not a whole number above 0 reads as 100, so a store without the setting reads as all 100.
std::vector<int> parseFullMarks(std::span<const std::string> entries, std::size_t subjectCount);

// The column named `column`: "总分", "平均分" or a subject of `subjects`; an unknown name reads
// as 100.
FullMark columnFullMark(std::string_view column, std::span<const std::string> subjects,
                        std::span<const int> fullMarks);

// The thresholds and band boundaries, entered as points out of 100, in points of a column.
ScoreLimits scaledLimits(const LevelThresholds& thresholds, std::span<const int> bands,
                         FullMark fullMark);

// Band captions of one column: the percentages of the full mark, then the column's points to
// two decimals at most: "60%-70%(90-105)", then ">=90%(>=135)" for the last boundary.
std::vector<std::string> bandCaptions(std::span<const int> bands, FullMark fullMark);

}  // namespace zeziza::analysis

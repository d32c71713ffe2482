#include "analysis/full_marks.h"

#include <charconv>
#include <cmath>
#include <numeric>

#include "analysis/number_format.h"
#include "analysis/statistics_text.h"
#include "base/whole_number.h"

namespace zeziza::analysis {

namespace {

int fullMarkOf(std::string_view text) {
  const auto value = base::exactInteger<int>(base::trimmedView(text));
  return value && *value > 0 ? *value : kDefaultFullMark;
}

}  // namespace

FullMark FullMark::ofSubject(int fullMark) {
  return FullMark(fullMark, 1);
}

FullMark FullMark::ofTotal(std::span<const int> subjects) {
  if (subjects.empty()) return FullMark();
  return FullMark(std::accumulate(subjects.begin(), subjects.end(), 0LL), 1);
}

FullMark FullMark::ofAverage(std::span<const int> subjects) {
  if (subjects.empty()) return FullMark();
  return FullMark(std::accumulate(subjects.begin(), subjects.end(), 0LL),
                  static_cast<long long>(subjects.size()));
}

double FullMark::scale(double pointsOutOf100) const {
  // One rounding only: the product of whole numbers is exact, the division correctly rounded.
  return pointsOutOf100 * static_cast<double>(sum_) / (100.0 * static_cast<double>(count_));
}

std::vector<int> parseFullMarks(std::span<const std::string> entries, std::size_t subjectCount) {
  std::vector<int> marks(subjectCount, kDefaultFullMark);
  for (std::size_t i = 0; i < subjectCount && i < entries.size(); ++i) {
    marks[i] = fullMarkOf(entries[i]);
  }
  return marks;
}

FullMark columnFullMark(std::string_view column, std::span<const std::string> subjects,
                        std::span<const int> fullMarks) {
  if (column == "总分") return FullMark::ofTotal(fullMarks);
  if (column == "平均分") return FullMark::ofAverage(fullMarks);
  for (std::size_t i = 0; i < subjects.size() && i < fullMarks.size(); ++i) {
    if (subjects[i] == column) return FullMark::ofSubject(fullMarks[i]);
  }
  return FullMark();
}

ScoreLimits scaledLimits(const LevelThresholds& thresholds, std::span<const int> bands,
                         FullMark fullMark) {
  ScoreLimits limits;
  limits.excellent = fullMark.scale(thresholds.excellent);
  limits.good = fullMark.scale(thresholds.good);
  limits.pass = fullMark.scale(thresholds.pass);
  for (const int band : bands) limits.bands.push_back(fullMark.scale(band));
  limits.lastBandUpper = fullMark.scale(kLastBandUpperLimit);
  return limits;
}

std::vector<std::string> bandCaptions(std::span<const int> bands, FullMark fullMark) {
  std::vector<std::string> captions = bandCaptions(bands);
  // Two decimals at most: a caption, not a limit.
  auto text = [&](int band) { return formatGeneral(std::round(fullMark.scale(band) * 100) / 100); };
  for (std::size_t i = 0; i + 1 < bands.size(); ++i) {
    captions[i] += "(" + text(bands[i]) + "-" + text(bands[i + 1]) + ")";
  }
  if (!bands.empty()) captions.back() += "(>=" + text(bands.back()) + ")";
  return captions;
}

}  // namespace zeziza::analysis

#include "analysis/statistics.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

namespace zeziza::analysis {
namespace {

// Sums run in long double so that a column of a few thousand scores loses nothing visible.
using Wide = long double;

std::vector<double> participantsOf(std::span<const double> values) {
  std::vector<double> kept;
  std::ranges::copy_if(values, std::back_inserter(kept), [](double v) { return v > 0; });
  return kept;
}

Wide sumOf(const std::vector<double>& kept) {
  Wide sum = 0;
  for (const double v : kept) sum += v;
  return sum;
}

void addSums(const std::vector<double>& kept, ScoreStatistics& stats) {
  const Wide total = sumOf(kept);
  stats.total = static_cast<double>(total);
  stats.mean = static_cast<double>(total / kept.size());
  stats.highest = *std::ranges::max_element(kept);
  stats.lowest = *std::ranges::min_element(kept);
}

double rate(int count, std::size_t n) {
  return static_cast<double>(static_cast<Wide>(count) / n * 100);
}

// The ranges are tested one by one, as half-open ranges, so a value on a threshold belongs to
// the higher level. Cumulative good and pass counts have no upper end.
void addLevels(const std::vector<double>& kept, const ScoreLimits& t, ScoreStatistics& stats) {
  const bool cumulative = t.rates == RateBasis::Cumulative;
  for (const double v : kept) {
    if (v >= t.excellent) ++stats.excellentCount;
    if (v >= t.good && (cumulative || v < t.excellent)) ++stats.goodCount;
    if (v >= t.pass && (cumulative || v < t.good)) ++stats.passCount;
    if (v < t.pass) ++stats.failCount;
  }
  stats.rates = t.rates;
  stats.excellentRate = rate(stats.excellentCount, kept.size());
  stats.goodRate = rate(stats.goodCount, kept.size());
  stats.passRate = rate(stats.passCount, kept.size());
  stats.failRate = rate(stats.failCount, kept.size());
}

std::vector<int> countBands(const std::vector<double>& kept, const ScoreLimits& limits) {
  const std::vector<double>& bands = limits.bands;
  std::vector<int> counts(bands.size(), 0);
  for (std::size_t i = 0; i < bands.size(); ++i) {
    const double lower = bands[i];
    const double upper = i + 1 < bands.size() ? bands[i + 1] : limits.lastBandUpper;
    counts[i] = static_cast<int>(
        std::ranges::count_if(kept, [&](double v) { return lower <= v && v < upper; }));
  }
  return counts;
}

// Central moments about the mean, taken in a second pass: the same quantities as the raw
// power sums give, without their cancellation when the spread is small against the values.
void addMoments(const std::vector<double>& kept, ScoreStatistics& stats) {
  const bool allEqual = std::ranges::adjacent_find(kept, std::ranges::not_equal_to{}) == kept.end();
  if (allEqual) return;
  const Wide n = kept.size();
  const Wide mean = sumOf(kept) / n;
  Wide m2 = 0, m3 = 0, m4 = 0;
  for (const double v : kept) {
    const Wide d = v - mean;
    m2 += d * d;
    m3 += d * d * d;
    m4 += d * d * d * d;
  }
  m2 /= n;
  m3 /= n;
  m4 /= n;
  // Where long double is only a double, tiny spreads can underflow to a zero variance.
  if (!(m2 > 0)) return;
  stats.variance = static_cast<double>(m2);
  stats.skewness = static_cast<double>(m3 / (m2 * std::sqrt(m2)));
  stats.kurtosis = static_cast<double>(m4 / (m2 * m2));
}

double medianOf(std::vector<double> kept) {
  std::ranges::sort(kept);
  const std::size_t h = kept.size() / 2;
  return kept.size() % 2 == 0 ? (kept[h - 1] + kept[h]) * 0.5 : kept[h];
}

}  // namespace

std::optional<ScoreStatistics> computeStatistics(std::span<const double> values, int enrolled,
                                                 const LevelThresholds& thresholds,
                                                 std::span<const int> bands) {
  ScoreLimits limits{static_cast<double>(thresholds.excellent),
                     static_cast<double>(thresholds.good),
                     static_cast<double>(thresholds.pass),
                     {bands.begin(), bands.end()},
                     kLastBandUpperLimit};
  return computeStatistics(values, enrolled, limits);
}

std::optional<ScoreStatistics> computeStatistics(std::span<const double> values, int enrolled,
                                                 const ScoreLimits& limits) {
  const std::vector<double> kept = participantsOf(values);
  if (kept.size() < 2) return std::nullopt;
  ScoreStatistics stats;
  stats.enrolled = enrolled;
  stats.participants = static_cast<int>(kept.size());
  addSums(kept, stats);
  addLevels(kept, limits, stats);
  stats.bandCounts = countBands(kept, limits);
  addMoments(kept, stats);
  stats.median = medianOf(kept);
  return stats;
}

}  // namespace zeziza::analysis

// The kernel against a reference written the other way round: raw power sums in one pass
// (the textbook moment formulas), a selection sort for the median and one branch per level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "analysis/statistics.h"

namespace {

using zeziza::analysis::computeStatistics;
using zeziza::analysis::LevelThresholds;
using zeziza::analysis::ScoreStatistics;

struct Reference {
  int n = 0;
  long double total = 0, mean = 0, highest = 0, lowest = 0, median = 0;
  long double variance = 0, skewness = 0, kurtosis = 0;
  int levels[4] = {0, 0, 0, 0};  // excellent, good, pass, fail
  std::vector<int> bands;
};

long double selectionSortMedian(std::vector<double> v) {
  for (std::size_t i = 0; i < v.size(); ++i) {
    std::size_t smallest = i;
    for (std::size_t j = i + 1; j < v.size(); ++j) {
      if (v[j] < v[smallest]) smallest = j;
    }
    std::swap(v[i], v[smallest]);
  }
  const std::size_t h = v.size() / 2;
  return v.size() % 2 == 0 ? (static_cast<long double>(v[h - 1]) + v[h]) * 0.5L : v[h];
}

Reference referenceOf(const std::vector<double>& values, const LevelThresholds& t,
                      const std::vector<int>& bands) {
  Reference r;
  r.bands.assign(bands.size(), 0);
  std::vector<double> kept;
  long double s1 = 0, s2 = 0, s3 = 0, s4 = 0;
  for (const double v : values) {
    if (!(v > 0)) continue;
    kept.push_back(v);
    const long double x = v;
    s1 += x;
    s2 += x * x;
    s3 += x * x * x;
    s4 += x * x * x * x;
    if (v >= t.excellent) {
      ++r.levels[0];
    } else if (v >= t.good) {
      ++r.levels[1];
    } else if (v >= t.pass) {
      ++r.levels[2];
    } else {
      ++r.levels[3];
    }
    for (std::size_t i = 0; i < bands.size(); ++i) {
      const int upper = i + 1 < bands.size() ? bands[i + 1] : 1001;
      if (bands[i] <= v && v < upper) ++r.bands[i];
    }
  }
  r.n = static_cast<int>(kept.size());
  r.total = s1;
  r.highest = *std::max_element(kept.begin(), kept.end());
  r.lowest = *std::min_element(kept.begin(), kept.end());
  const long double n = r.n;
  s1 /= n;
  s2 /= n;
  s3 /= n;
  s4 /= n;
  r.mean = s1;
  const long double m2 = s2 - s1 * s1;
  const long double m3 = s3 - 3 * s1 * s2 + 2 * s1 * s1 * s1;
  const long double m4 = s4 - 4 * s1 * s3 + 6 * s1 * s1 * s2 - 3 * s1 * s1 * s1 * s1;
  r.variance = m2;
  r.skewness = m3 * std::pow(m2, -1.5L);
  r.kurtosis = m4 / (m2 * m2);
  r.median = selectionSortMedian(kept);
  return r;
}

// Scores as a school has them: mostly whole and half points around a mean, some absent (0),
// a few exactly on a threshold or a band boundary.
std::vector<double> randomScores(std::mt19937& rng, std::size_t count) {
  std::normal_distribution<double> score(72, 14);
  std::uniform_int_distribution<int> kind(0, 19);
  std::vector<double> values;
  for (std::size_t i = 0; i < count; ++i) {
    const int k = kind(rng);
    const double v = std::round(std::clamp(score(rng), 1.0, 100.0) * 2) / 2;
    switch (k) {
      case 0:
        values.push_back(0);
        break;
      case 1:
        values.push_back(60);
        break;
      case 2:
        values.push_back(90);
        break;
      case 3:
        values.push_back(v + 0.25);
        break;
      default:
        values.push_back(v);
    }
  }
  return values;
}

void expectClose(long double expected, double actual, const char* what) {
  const double tolerance = 1e-9 * std::max(1.0L, std::fabs(expected));
  EXPECT_NEAR(actual, static_cast<double>(expected), tolerance) << what;
}

TEST(ComputeStatistics, AgreesWithIndependentComputationOnRandomScores) {
  const LevelThresholds thresholds{90, 80, 60};
  const std::vector<int> bands{40, 60, 70, 80, 90};
  std::mt19937 rng(20240607);
  for (const std::size_t count : {300u, 301u, 457u, 512u}) {
    SCOPED_TRACE("count " + std::to_string(count));
    const std::vector<double> values = randomScores(rng, count);
    const Reference r = referenceOf(values, thresholds, bands);
    const auto stats = computeStatistics(values, 999, thresholds, bands);
    ASSERT_TRUE(stats.has_value());
    const ScoreStatistics& s = *stats;
    EXPECT_EQ(s.enrolled, 999);
    EXPECT_EQ(s.participants, r.n);
    expectClose(r.total, s.total, "total");
    expectClose(r.mean, s.mean, "mean");
    expectClose(r.highest, s.highest, "highest");
    expectClose(r.lowest, s.lowest, "lowest");
    expectClose(r.median, s.median, "median");
    expectClose(r.variance, s.variance, "variance");
    expectClose(r.skewness, s.skewness, "skewness");
    expectClose(r.kurtosis, s.kurtosis, "kurtosis");
    EXPECT_EQ((std::vector<int>{s.excellentCount, s.goodCount, s.passCount, s.failCount}),
              (std::vector<int>{r.levels[0], r.levels[1], r.levels[2], r.levels[3]}));
    const double rates[] = {s.excellentRate, s.goodRate, s.passRate, s.failRate};
    for (int i = 0; i < 4; ++i) expectClose(100.0L * r.levels[i] / r.n, rates[i], "rate");
    EXPECT_EQ(s.bandCounts, r.bands);
  }
}

}  // namespace

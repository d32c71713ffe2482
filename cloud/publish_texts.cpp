#include "cloud/publish_texts.h"

#include <stdexcept>

#include "analysis/number_format.h"
#include "analysis/statistics_text.h"

namespace zeziza::cloud {

std::string rankingText(std::span<const ScratchScore* const> rows, analysis::RankMode mode) {
  std::vector<double> scores;
  scores.reserve(rows.size());
  for (const ScratchScore* row : rows) scores.push_back(row->score);
  const auto ranks = analysis::ranksInOrder(scores, mode);
  std::string text;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    text += std::to_string(ranks[i]) + ":[" + rows[i]->stuid + "]" + rows[i]->name + "  " +
            analysis::formatGeneral(rows[i]->score) + "\r\n";
  }
  return text;
}

std::string bandText(std::span<const int> bands, const analysis::ScoreStatistics& stats) {
  std::string text;
  for (std::size_t i = 0; i < bands.size() && i < stats.bandCounts.size(); ++i) {
    text += std::to_string(bands[i]) + "=" + std::to_string(stats.bandCounts[i]) + "人\r\n";
  }
  return text;
}

std::string bandText(std::span<const double> bands, const analysis::ScoreStatistics& stats) {
  std::string text;
  for (std::size_t i = 0; i < bands.size() && i < stats.bandCounts.size(); ++i) {
    text +=
        analysis::formatGeneral(bands[i]) + "=" + std::to_string(stats.bandCounts[i]) + "人\r\n";
  }
  return text;
}

// The columns carry the kernel's captions, skewness and kurtosis in lower case.
const std::vector<std::string>& statisticsColumns() {
  static const std::vector<std::string> columns = [] {
    std::vector<std::string> out;
    for (const auto& row : analysis::statisticsRows(analysis::ScoreStatistics{})) {
      std::string name(row.caption);
      if (name == analysis::caption::kSkewness) name = "skew";
      if (name == analysis::caption::kKurtosis) name = "kurtosis";
      out.push_back(name);
    }
    return out;
  }();
  return columns;
}

std::vector<std::string> statisticsValues(const analysis::ScoreStatistics& stats) {
  std::vector<std::string> values;
  for (auto& row : analysis::statisticsRows(stats)) values.push_back(std::move(row.text));
  return values;
}

}  // namespace zeziza::cloud

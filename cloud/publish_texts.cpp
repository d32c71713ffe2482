#include "cloud/publish_texts.h"

#include <stdexcept>

#include "analysis/number_format.h"
#include "analysis/statistics_text.h"

namespace zeziza::cloud {

std::string rankingText(std::span<const ScratchScore* const> rows) {
  std::string text;
  std::size_t rank = 0;
  for (const ScratchScore* row : rows) {
    text += std::to_string(++rank) + ":[" + row->stuid + "]" + row->name + "  " +
            analysis::formatGeneral(row->score) + "\r\n";
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

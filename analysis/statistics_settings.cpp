#include "analysis/statistics_settings.h"

#include <stdexcept>

#include "base/whole_number.h"

namespace zeziza::analysis {
namespace {

int thresholdOf(std::string_view text, std::string_view name, std::string_view key) {
  const auto value = base::wholeNumber(text);
  if (!value) {
    throw std::runtime_error(std::string(name) + "(" + std::string(key) + ")设置不是有效的整数:\"" +
                             std::string(text) + "\"");
  }
  return *value;
}

}  // namespace

RateBasis parseRateBasis(std::string_view text) {
  return text == kCumulativeRatesText ? RateBasis::Cumulative : RateBasis::Bands;
}

std::string_view rateBasisText(RateBasis basis) {
  return basis == RateBasis::Cumulative ? kCumulativeRatesText : kBandRatesText;
}

LevelThresholds parseThresholds(std::string_view excellent, std::string_view good,
                                std::string_view pass) {
  return LevelThresholds{thresholdOf(excellent, "优秀分数线", "youxiu"),
                         thresholdOf(good, "良好分数线", "lianghao"),
                         thresholdOf(pass, "及格分数线", "jige")};
}

std::vector<int> parseBands(std::span<const std::string> entries) {
  std::vector<int> bands;
  bands.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const auto value = base::wholeNumber(entries[i]);
    if (!value) {
      throw std::runtime_error("分数段(fenshuduan)第" + std::to_string(i + 1) +
                               "项不是有效的整数:\"" + entries[i] + "\"");
    }
    bands.push_back(*value);
  }
  return bands;
}

}  // namespace zeziza::analysis

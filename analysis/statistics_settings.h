#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/statistics.h"

namespace zeziza::analysis {

inline constexpr std::string_view kBandRatesText = "分段";
inline constexpr std::string_view kCumulativeRatesText = "累计";

// The stored rate basis (比率口径): "累计" counts cumulatively; anything else, also a missing
// setting, counts each band alone.
RateBasis parseRateBasis(std::string_view text);
std::string_view rateBasisText(RateBasis basis);

// Converts the stored threshold texts (youxiu, lianghao, jige). Blanks around a number are
// allowed; an empty or non-integer text throws std::runtime_error naming the setting.
LevelThresholds parseThresholds(std::string_view excellent, std::string_view good,
                                std::string_view pass);

// Converts the stored band list (fenshuduan) entry by entry, in its stored order; a
// non-integer entry throws std::runtime_error naming its position.
std::vector<int> parseBands(std::span<const std::string> entries);

}  // namespace zeziza::analysis

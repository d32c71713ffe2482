#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/statistics.h"

namespace zeziza::analysis {

// Converts the stored threshold texts (youxiu, lianghao, jige). Blanks around a number are
// allowed; an empty or non-integer text throws std::runtime_error naming the setting.
LevelThresholds parseThresholds(std::string_view excellent, std::string_view good,
                                std::string_view pass);

// Converts the stored band list (fenshuduan) entry by entry, in its stored order; a
// non-integer entry throws std::runtime_error naming its position.
std::vector<int> parseBands(std::span<const std::string> entries);

}  // namespace zeziza::analysis

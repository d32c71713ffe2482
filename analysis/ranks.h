#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zeziza::analysis {

// How equal values are ranked: one after the other (1, 2, 3), or sharing a rank with the next
// rank skipped (1, 1, 3).
enum class RankMode { Sequential, Shared };

inline constexpr std::string_view kSequentialRanksText = "顺序名次";
inline constexpr std::string_view kSharedRanksText = "并列名次";

// The stored setting: "并列名次" shares ranks; anything else (also a missing setting) ranks one
// after the other.
RankMode parseRankMode(std::string_view text);
std::string_view rankModeText(RankMode mode);

// The ranks of values already in rank order, highest first: position + 1, or for shared ranks
// the position + 1 of the first equal value.
std::vector<std::uint32_t> ranksInOrder(std::span<const double> ordered, RankMode mode);

}  // namespace zeziza::analysis

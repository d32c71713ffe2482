#include "analysis/ranks.h"

namespace zeziza::analysis {

RankMode parseRankMode(std::string_view text) {
  return text == kSharedRanksText ? RankMode::Shared : RankMode::Sequential;
}

std::string_view rankModeText(RankMode mode) {
  return mode == RankMode::Shared ? kSharedRanksText : kSequentialRanksText;
}

std::vector<std::uint32_t> ranksInOrder(std::span<const double> ordered, RankMode mode) {
  std::vector<std::uint32_t> ranks(ordered.size());
  for (std::size_t p = 0; p < ordered.size(); ++p) {
    const bool tied = mode == RankMode::Shared && p > 0 && ordered[p] == ordered[p - 1];
    ranks[p] = tied ? ranks[p - 1] : static_cast<std::uint32_t>(p + 1);
  }
  return ranks;
}

}  // namespace zeziza::analysis

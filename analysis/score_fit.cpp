#include "analysis/score_fit.h"

#include <cmath>

namespace zeziza::analysis {

ScoreFault scoreFault(double value, int fullMark) {
  if (!std::isfinite(value)) return ScoreFault::NotFinite;
  if (value < 0) return ScoreFault::Negative;
  if (value > fullMark) return ScoreFault::AboveFullMark;
  return ScoreFault::None;
}

}  // namespace zeziza::analysis

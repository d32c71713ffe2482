#pragma once

namespace zeziza::analysis {

// Why a score cannot be stored. 0 and below are "no score" and always fit.
enum class ScoreFault {
  None,
  NotFinite,      // NaN or infinite: no paper gives such a mark
  AboveFullMark,  // more than the subject's full mark
};

ScoreFault scoreFault(double value, int fullMark);

}  // namespace zeziza::analysis

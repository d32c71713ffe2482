#pragma once

namespace zeziza::analysis {

// Why a score cannot be stored. 0 is "no score" and always fits; a negative value is a typing
// slip, refused like one above the full mark.
enum class ScoreFault {
  None,
  NotFinite,      // NaN or infinite: no paper gives such a mark
  Negative,       // below 0
  AboveFullMark,  // more than the subject's full mark
};

ScoreFault scoreFault(double value, int fullMark);

}  // namespace zeziza::analysis

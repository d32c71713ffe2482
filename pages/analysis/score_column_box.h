#pragma once

#include "store/subject_columns.h"
#include "web/controls/lists.h"

namespace zeziza::pages {

// Which of 总分 and 平均分 a page's score-column box lists first; the subjects follow them.
enum class SummaryFirst { total, average };

// Fills `box` with 总分 and 平均分 in the order `first` and then the subjects of the settings.
void fillScoreColumnBox(web::ComboBox& box, SummaryFirst first);

// The column chosen in a box that fillScoreColumnBox filled with the same `first`: cj.zf,
// cj.pj (by the session's average basis) or subject n's k<n>.
store::ScoreColumn chosenScoreColumn(const web::ComboBox& box, SummaryFirst first);

}  // namespace zeziza::pages

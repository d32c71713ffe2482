#pragma once

#include <functional>
#include <string>
#include <vector>

#include "store/score_import.h"

namespace zeziza::pages {

// The checks of a pasted block of several subjects, as copied from a spreadsheet: the first
// line names the columns (考号 and subject names, in any order, separated by tabs), every
// further line holds one student. Roster columns (姓名, 班级 …) are passed over, and a blank
// cell is no score for that subject, as 0 is (a stored score goes). The first failed check's
// message, or every row ready to write.
struct ScoreTableCheck {
  std::string refusal;  // empty when every check passed
  std::vector<store::ImportRow> rows;
  std::vector<std::string> ignoredColumns;  // roster columns passed over, as headed
};

// `subjects` are the subjects in column order (subject n owns column k<n>); `exists` tells
// whether a student number (as pasted, untrimmed) is on the roster. Blank lines at the end of
// the block are ignored.
ScoreTableCheck checkScoreTable(const std::vector<std::string>& lines,
                                const std::vector<std::string>& subjects,
                                const std::function<bool(const std::string&)>& exists);

}  // namespace zeziza::pages

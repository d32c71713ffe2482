#pragma once

#include <string>
#include <vector>

#include "pages/master/list_section.h"

namespace zeziza::pages {

// Inserts `value` before the first boundary greater than it, else at the end; an equal value
// goes after the boundaries equal to it. Entries that are no integer are passed over.
void insertBoundary(std::vector<std::string>& bands, int value);
// What grid row `i` says of boundary i, a percentage of the full mark:
// "成绩大于等于满分的60%小于70%(零分除外)", or, for the last, "成绩大于等于满分的80%(零分除外)".
std::string bandDescription(const std::vector<std::string>& bands, std::size_t i);

// The boundaries of the score bands, kept in ascending order in a hidden list box.
ListSectionLayout bandsLayout();
ListSectionRules bandsRules();

}  // namespace zeziza::pages

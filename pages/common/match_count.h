#pragma once

#include <string>

#include "web/controls/paging.h"

namespace zeziza::pages {

// The status of a result's pager on the score query and the roster:
// "共有41条符合条件的记录  [第1页/共3页]" (no rows: "[第1页/共0页]").
std::string matchCountLine(const web::PageSpan& span);

}  // namespace zeziza::pages

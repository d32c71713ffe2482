#include "pages/common/match_count.h"

namespace zeziza::pages {

std::string matchCountLine(const web::PageSpan& span) {
  return "共有" + std::to_string(span.rows) + "条符合条件的记录  [第" +
         std::to_string(span.index + 1) + "页/共" + std::to_string(span.pageCount()) + "页]";
}

}  // namespace zeziza::pages

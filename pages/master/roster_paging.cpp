#include "pages/master/roster_paging.h"

namespace zeziza::pages {

std::size_t pageCount(std::size_t rows) {
  return (rows + kRosterRowsPerPage - 1) / kRosterRowsPerPage;
}

std::string countLine(std::size_t rows, std::size_t page, std::size_t pages) {
  return "共有" + std::to_string(rows) + "条符合条件的记录  [第" + std::to_string(page) + "页/共" +
         std::to_string(pages) + "页]";
}

}  // namespace zeziza::pages

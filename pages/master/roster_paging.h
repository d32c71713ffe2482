#pragma once

#include <cstddef>
#include <string>

namespace zeziza::pages {

inline constexpr std::size_t kRosterRowsPerPage = 20;
std::size_t pageCount(std::size_t rows);
// "共有41条符合条件的记录  [第1页/共3页]"
std::string countLine(std::size_t rows, std::size_t page, std::size_t pages);

}  // namespace zeziza::pages

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "pages/common/bound_statement.h"

namespace zeziza::pages {

// The roster's filters; an empty text filters nothing.
struct RosterFilter {
  std::string unit;
  std::string grade;
  std::string cls;
  std::string namePart;
};

// The roster query: the first active filter begins with `where`, each later one with `and`.
BoundStatement rosterStatement(const RosterFilter& filter);

inline constexpr std::size_t kRosterRowsPerPage = 20;
std::size_t pageCount(std::size_t rows);
// "共有41条符合条件的记录  [第1页/共3页]"
std::string countLine(std::size_t rows, std::size_t page, std::size_t pages);

}  // namespace zeziza::pages

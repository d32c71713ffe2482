#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "store/value.h"

namespace zeziza::pages {

// The roster's filters; an empty text filters nothing.
struct RosterFilter {
  std::string unit;
  std::string grade;
  std::string cls;
  std::string namePart;
};

// A statement with its bound values.
struct BoundStatement {
  std::string sql;
  std::vector<store::Value> params;
};

// The roster query: the first active filter begins with `where`, each later one with `and`.
BoundStatement rosterStatement(const RosterFilter& filter);

// A LIKE pattern finding `part` anywhere, with its own % and _ taken literally.
std::string containsPattern(std::string_view part);

inline constexpr std::size_t kRosterRowsPerPage = 20;
std::size_t pageCount(std::size_t rows);
// "共有41条符合条件的记录  [第1页/共3页]"
std::string countLine(std::size_t rows, std::size_t page, std::size_t pages);

}  // namespace zeziza::pages

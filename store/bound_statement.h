#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "store/value.h"

namespace zeziza::store {

// A statement with every user value as a bound parameter.
struct BoundStatement {
  std::string sql;
  std::vector<Value> params;
};

// The most row keys one statement reads back (well under SQLite's parameter limit).
inline constexpr std::size_t kMaxKeysPerRead = 500;

// A LIKE pattern (with escape '\') finding `part` anywhere, its own %, _ and \ taken literally.
std::string containsPattern(std::string_view part);

}  // namespace zeziza::store

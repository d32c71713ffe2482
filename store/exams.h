#pragma once

#include <string_view>

namespace zeziza::store {

class Database;

// Whether any score row belongs to the exam called `exam`.
bool examHasScores(Database& db, std::string_view exam);

}  // namespace zeziza::store

#pragma once

namespace zeziza::store {

class Database;

// True when `cj` holds at least one score row.
bool scoresExist(Database& db);

}  // namespace zeziza::store

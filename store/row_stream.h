#pragma once

#include <functional>

#include "store/bound_statement.h"
#include "store/statement.h"

namespace zeziza::store {

class Database;

// Steps `statement` and hands each row to `onRow` as the statement's current row; nothing of
// the result is kept, so a result of any size costs one row of memory.
void forEachRow(Database& db, const BoundStatement& statement,
                const std::function<void(const Statement& row)>& onRow);

}  // namespace zeziza::store

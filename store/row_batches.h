#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>

#include "store/value.h"

namespace zeziza::store {

class Database;
class Statement;

// Rows of one statement at a time: a paste of 100,000 lines runs a few hundred statements,
// not 100,000, and every full batch runs the one statement prepared for it.
inline constexpr std::size_t kRowsPerBatch = 500;

// "(?,?),(?,?),(?,?)": `rows` groups of `columns` parameters.
std::string parameterRows(std::size_t rows, std::size_t columns);

// Runs `sqlFor(n)`, the statement for a batch of n rows, over `params` (rows of `columns`
// values each, in order) in batches of at most kRowsPerBatch rows; `onRow` sees every result
// row a batch yields.
void runInBatches(Database& db, std::span<const Value> params, std::size_t columns,
                  const std::function<std::string(std::size_t rows)>& sqlFor,
                  const std::function<void(const Statement&)>& onRow = {});

}  // namespace zeziza::store

#include "store/row_batches.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "store/statement.h"

namespace zeziza::store {

std::string parameterRows(std::size_t rows, std::size_t columns) {
  std::string row = "(";
  for (std::size_t c = 0; c < columns; ++c) row += c == 0 ? "?" : ",?";
  row += ")";
  std::string text;
  text.reserve(rows * (row.size() + 1));
  for (std::size_t r = 0; r < rows; ++r) {
    if (r > 0) text += ',';
    text += row;
  }
  return text;
}

void runInBatches(Database& db, std::span<const Value> params, std::size_t columns,
                  const std::function<std::string(std::size_t rows)>& sqlFor,
                  const std::function<void(const Statement&)>& onRow) {
  if (columns == 0 || params.size() % columns != 0) {
    throw std::invalid_argument("batch parameters do not fill whole rows");
  }
  const std::size_t rows = params.size() / columns;
  std::optional<Statement> full;  // prepared once for every full batch
  for (std::size_t first = 0; first < rows; first += kRowsPerBatch) {
    const std::size_t count = std::min(kRowsPerBatch, rows - first);
    std::optional<Statement> partial;
    if (count == kRowsPerBatch && !full) full.emplace(db, sqlFor(count));
    if (count < kRowsPerBatch) partial.emplace(db, sqlFor(count));
    Statement& statement = count == kRowsPerBatch ? *full : *partial;
    statement.bindAll(params.subspan(first * columns, count * columns));
    while (statement.step()) {
      if (onRow) onRow(statement);
    }
    statement.reset();
  }
}

}  // namespace zeziza::store

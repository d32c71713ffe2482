#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "export/sheet_layout.h"
#include "store/query.h"

namespace zeziza::spreadsheet {

// Any failure of an export: a column the result lacks, a value the format refuses, a file that
// cannot be written.
class ExportError : public std::runtime_error {
 public:
  // `systemError`: the errno the failure left, 0 when it was none of the system's.
  explicit ExportError(const std::string& what, int systemError = 0);
  // The disk (or the account's quota) had no room left for the file.
  bool diskFull() const { return diskFull_; }

 private:
  bool diskFull_ = false;
};

// The columns of `layout` that the open `result` lacks, in layout order.
std::vector<std::string> missingColumns(const store::Query& result, const SheetLayout& layout);

// Writes `layout` to `file` as an .xlsx workbook: the heading rows, then one row for every row
// of `result` in its order, whatever page its cursor is on (the cursor is not moved). Texts go
// in as strings, numbers as numbers, nulls and empty texts as empty cells. The columns are
// checked before anything is written; rows are streamed (constant memory), so a result of any
// size needs little more memory than one row. Throws ExportError.
void writeWorkbook(const store::Query& result, const SheetLayout& layout,
                   const std::filesystem::path& file);

// A result too big to hold, read in order a piece at a time: hands each piece (an open result
// of some of the rows, every piece with the same columns) to `onPiece`, at least one piece
// (an empty one for an empty result).
using ResultPieces =
    std::function<void(const std::function<void(const store::Query& piece)>& onPiece)>;
// writeWorkbook over every row of every piece in order; the columns are checked on the first
// piece, before anything is written. Only one piece is held at a time. Throws ExportError,
// also when no piece comes.
void writeWorkbook(const ResultPieces& pieces, const SheetLayout& layout,
                   const std::filesystem::path& file);

// Rows already made, the first ones usually headings: texts go in as strings, numbers as
// numbers, nulls and empty texts as empty cells; rows are streamed as in writeWorkbook.
using SheetRows = std::vector<std::vector<store::Value>>;
void writeRows(const SheetRows& rows, const std::filesystem::path& file);

// A workbook written a row at a time (constant memory), for rows made one after another.
// Dropped without close(), it writes no file.
class SheetStream {
 public:
  explicit SheetStream(const std::filesystem::path& file);
  ~SheetStream();
  SheetStream(const SheetStream&) = delete;
  SheetStream& operator=(const SheetStream&) = delete;
  // The next row, as writeRows writes each.
  void add(const std::vector<store::Value>& row);
  void close();

 private:
  struct Book;
  std::unique_ptr<Book> book_;
  std::uint32_t row_ = 0;
};

// The roster result (学生编号, 学校, 姓名, 年级, 班次) in the roster's sheet layout.
void exportRoster(const store::Query& result, const std::filesystem::path& file);

}  // namespace zeziza::spreadsheet

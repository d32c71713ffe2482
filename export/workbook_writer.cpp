#include "export/workbook_writer.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <variant>

#include "base/platform/files.h"
#include "base/platform/text.h"

namespace zeziza::spreadsheet {

namespace {

// `systemError`: errno right after the call, which the library leaves as its writes failed.
void check(lxw_error error, const char* what, int systemError = 0) {
  if (error != LXW_NO_ERROR) {
    throw ExportError(std::string(what) + ": " + lxw_strerror(error), systemError);
  }
}

struct WorkbookFree {
  void operator()(lxw_workbook* workbook) const { lxw_workbook_free(workbook); }
};

// One workbook with one sheet. Dropped without close(), it is freed and writes no file.
class Workbook {
 public:
  // The library takes UTF-8 file names on every system.
  explicit Workbook(const std::filesystem::path& file)
      : tempFolder_(platform::utf8Path(file.parent_path())) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;  // rows go to a temporary file as they are written
    options.tmpdir = tempFolder_.empty() ? nullptr : tempFolder_.data();
    book_.reset(workbook_new_opt(platform::utf8Path(file).c_str(), &options));
    if (!book_) throw ExportError("cannot start a workbook for " + platform::utf8Path(file));
    sheet_ = workbook_add_worksheet(book_.get(), nullptr);
    if (!sheet_) throw ExportError("cannot add a worksheet");
  }

  void text(lxw_row_t row, lxw_col_t column, const std::string& value) {
    if (!value.empty())
      check(worksheet_write_string(sheet_, row, column, value.c_str(), nullptr), "text cell");
  }
  void number(lxw_row_t row, lxw_col_t column, double value) {
    check(worksheet_write_number(sheet_, row, column, value, nullptr), "number cell");
  }
  void value(lxw_row_t row, lxw_col_t column, const store::Value& v) {
    std::visit(
        [&](const auto& x) {
          using T = std::decay_t<decltype(x)>;
          if constexpr (std::is_same_v<T, std::string>) {
            text(row, column, x);
          } else if constexpr (!std::is_same_v<T, std::monostate>) {
            number(row, column, static_cast<double>(x));
          }
        },
        v.variant());
  }
  // Zips the workbook into its file; the workbook is gone afterwards, written or not.
  void close() {
    errno = 0;
    const lxw_error closed = workbook_close(book_.release());
    check(closed, "cannot save the workbook", errno);
  }

 private:
  std::string tempFolder_;
  std::unique_ptr<lxw_workbook, WorkbookFree> book_;
  lxw_worksheet* sheet_ = nullptr;
};

std::vector<std::size_t> columnIndexes(const store::Query& result, const SheetLayout& layout) {
  const auto missing = missingColumns(result, layout);
  if (!missing.empty()) throw ExportError("the result has no column " + missing.front());
  std::vector<std::size_t> indexes;
  for (const auto& name : layout.columns) indexes.push_back(result.fieldIndex(name));
  return indexes;
}

}  // namespace

ExportError::ExportError(const std::string& what, int systemError)
    : std::runtime_error(what), diskFull_(platform::meansDiskFull(systemError)) {}

std::vector<std::string> missingColumns(const store::Query& result, const SheetLayout& layout) {
  std::vector<std::string> missing;
  for (const auto& name : layout.columns) {
    if (!result.hasField(name)) missing.push_back(name);
  }
  return missing;
}

namespace {

void writeHeadings(Workbook& book, const SheetLayout& layout, lxw_row_t& row) {
  for (const auto& heading : layout.headingRows) {
    for (std::size_t c = 0; c < heading.size(); ++c)
      book.text(row, static_cast<lxw_col_t>(c), heading[c]);
    ++row;
  }
}

void writeResultRows(Workbook& book, const store::Query& result,
                     const std::vector<std::size_t>& indexes, lxw_row_t& row) {
  for (const auto& values : result.rows()) {
    for (std::size_t c = 0; c < indexes.size(); ++c) {
      book.value(row, static_cast<lxw_col_t>(c), values[indexes[c]]);
    }
    ++row;
  }
}

}  // namespace

void writeWorkbook(const store::Query& result, const SheetLayout& layout,
                   const std::filesystem::path& file) {
  if (!result.isOpen()) throw ExportError("no result to export");
  const std::vector<std::size_t> indexes = columnIndexes(result, layout);
  Workbook book(file);
  lxw_row_t row = 0;
  writeHeadings(book, layout, row);
  writeResultRows(book, result, indexes, row);
  book.close();
}

void writeWorkbook(const ResultPieces& pieces, const SheetLayout& layout,
                   const std::filesystem::path& file) {
  std::optional<Workbook> book;
  std::vector<std::size_t> indexes;
  lxw_row_t row = 0;
  pieces([&](const store::Query& piece) {
    if (!piece.isOpen()) throw ExportError("no result to export");
    if (!book) {
      indexes = columnIndexes(piece, layout);
      book.emplace(file);
      writeHeadings(*book, layout, row);
    } else if (columnIndexes(piece, layout) != indexes) {
      throw ExportError("the pieces of the result have different columns");
    }
    writeResultRows(*book, piece, indexes, row);
  });
  if (!book) throw ExportError("no result to export");
  book->close();
}

void writeRows(const SheetRows& rows, const std::filesystem::path& file) {
  Workbook book(file);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      book.value(static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), rows[r][c]);
    }
  }
  book.close();
}

struct SheetStream::Book : Workbook {
  using Workbook::Workbook;
};

SheetStream::SheetStream(const std::filesystem::path& file) : book_(std::make_unique<Book>(file)) {}

SheetStream::~SheetStream() = default;

void SheetStream::add(const std::vector<store::Value>& row) {
  if (!book_) throw ExportError("the workbook is closed");
  for (std::size_t c = 0; c < row.size(); ++c) {
    book_->value(static_cast<lxw_row_t>(row_), static_cast<lxw_col_t>(c), row[c]);
  }
  ++row_;
}

void SheetStream::close() {
  if (!book_) throw ExportError("the workbook is closed");
  const std::unique_ptr<Book> book = std::move(book_);
  book->close();
}

void exportRoster(const store::Query& result, const std::filesystem::path& file) {
  writeWorkbook(result, rosterLayout(), file);
}

}  // namespace zeziza::spreadsheet

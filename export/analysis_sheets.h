#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "export/workbook_writer.h"

namespace zeziza::spreadsheet {

// How a shown table column goes into a sheet.
enum class CellKind {
  Text,    // as shown (student numbers, names)
  Number,  // a number when the whole text is one, else as shown
  Ranked,  // "[ 3 ] 255.50": two number columns, the rank ("总分名次") and the value ("总分")
  Rate,  // "40.00% [ 2 ]": two number columns, the rate ("优秀率%") and the count ("优秀人数")
  Skip,  // left out (links such as 查看详情)
};

// A shown table (header row first) as sheet rows: a first row naming the scope, the captions,
// then the rows, each cell by its column's kind (columns past `kinds` count as Number).
SheetRows tableSheet(const std::vector<std::string>& scope,
                     const std::vector<std::vector<std::string>>& table,
                     const std::vector<CellKind>& kinds);

// A shown table streamed to a workbook: the scope row and the captions at once, then each
// row as it is added, each cell by its column's kind as tableSheet converts it.
class TableSheetStream {
 public:
  TableSheetStream(const std::filesystem::path& file, const std::vector<std::string>& scope,
                   const std::vector<std::string>& header, std::vector<CellKind> kinds);
  void add(const std::vector<std::string>& texts);
  void close() { sheet_.close(); }

 private:
  SheetStream sheet_;
  std::vector<CellKind> kinds_;
};

// "成绩排序_2024秋期中_2024级.xlsx": workbookDownloadName over the parts of an analysis page.
std::string workbookName(std::string_view what, std::initializer_list<std::string> parts);

}  // namespace zeziza::spreadsheet

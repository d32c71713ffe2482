#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zeziza::testing {

// The first sheet of a workbook as a spreadsheet program reads it. A text cell reads as its
// text, a number cell as "#" and the number (#85.5), an empty cell as ""; trailing empty cells
// of a row are dropped.
struct SheetContent {
  std::vector<std::string> sheetNames;
  std::vector<std::vector<std::string>> rows;
};

// Throws when the file is not a workbook the reader can open.
SheetContent readWorkbook(const std::filesystem::path& file);

}  // namespace zeziza::testing

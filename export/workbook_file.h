#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zeziza::spreadsheet {

// A new, empty file "excel<random>.xlsx" in `folder`. The file is created exclusively, so two
// exports (of one session or of several) never draw the same name. Throws ExportError.
std::filesystem::path freshWorkbookFile(const std::filesystem::path& folder);

// The name a saved workbook is offered under, saying what it holds:
// "成绩查询_2024秋期中_东校区.xlsx". Empty parts and parts meaning "all" (全部…, 所有…) are left
// out; characters that file systems refuse, and control characters, become "_".
std::string workbookDownloadName(std::string_view title, const std::vector<std::string>& parts);

}  // namespace zeziza::spreadsheet

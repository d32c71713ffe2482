#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "export/sheet_layout.h"
#include "export/workbook_writer.h"
#include "store/query.h"

namespace zeziza::pages {

inline constexpr std::string_view kExportNoQueryMessage = "请先进行查询，再保存结果！";
inline constexpr std::string_view kExportFailedMessage =
    "不能正确操作Excel文件。可能是该文件已被其他程序打开, 或系统错误。";
inline constexpr std::string_view kExportDiskFullMessage = "磁盘空间不足，导出的文件未能保存。";

// What a 【保存为EXCEL】 link does with its page's result: refuses while no query has run;
// otherwise writes `layout` over every result row to a fresh workbook in the session's cache
// folder and answers the click with that file, offered as `downloadName` (see
// spreadsheet::workbookDownloadName). A failure is reported with kExportDiskFullMessage when
// the disk was full, else kExportFailedMessage, and leaves no file behind.
void sendWorkbook(const store::Query& result, const spreadsheet::SheetLayout& layout,
                  const std::string& downloadName);

// The same for a result read a piece at a time; the caller has refused already when no query
// has run.
void sendWorkbook(const spreadsheet::ResultPieces& pieces, const spreadsheet::SheetLayout& layout,
                  const std::string& downloadName);

// The same for rows an analysis page made: the file is offered as `downloadName`.
void sendRows(const spreadsheet::SheetRows& rows, const std::string& downloadName);

// The same for a workbook `write` makes in the file it is given.
void sendWritten(const std::function<void(const std::filesystem::path&)>& write,
                 const std::string& downloadName);

}  // namespace zeziza::pages

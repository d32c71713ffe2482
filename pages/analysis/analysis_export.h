#pragma once

#include <functional>
#include <string>
#include <vector>

#include "export/analysis_sheets.h"
#include "web/controls/actions.h"
#include "web/controls/chart.h"
#include "web/controls/grid.h"
#include "web/controls/lists.h"

namespace zeziza::pages {

inline constexpr const char* kExportCaption = "【保存为EXCEL】";
inline constexpr const char* kExportNothingMessage = "请先进行统计分析，再保存结果！";

// Makes `link` a 【保存为EXCEL】 link: answered with a file, so the page stays as it is.
void makeExportLink(web::Link& link, std::function<void()> onClick);

// What the last analysis of a page covered, kept for its 【保存为EXCEL】: the sheet's first row
// and the offered file name. Empty until the page has analysed something.
struct AnalysisExport {
  std::vector<std::string> scope;
  std::string fileName;
};

// The chosen item's text unless it is the "all" item `all`.
std::string chosenUnless(const web::ComboBox& box, const std::string& all);

// The texts of a grid, header row first.
std::vector<std::vector<std::string>> gridTexts(const web::Grid& grid);
// The texts of a grid's header row; none before the grid has one.
std::vector<std::string> headerTexts(const web::Grid& grid);
// A browser table's columns and rows.
std::vector<std::vector<std::string>> dataSetTexts(const web::ClientDataSet& table);

// Answers a 【保存为EXCEL】 click with `table` (header row first); refuses with
// kExportNothingMessage while the page has not analysed anything.
void sendAnalysis(const AnalysisExport& shown, const std::vector<std::vector<std::string>>& table,
                  const std::vector<spreadsheet::CellKind>& kinds);

// Hands a streamed export its rows one at a time.
using AnalysisRowSink = std::function<void(const std::vector<std::string>& texts)>;

// The same for a table too big to hold: `header` first, then every row `rows` puts, written
// as it comes.
void sendAnalysisStream(const AnalysisExport& shown, const std::vector<std::string>& header,
                        const std::vector<spreadsheet::CellKind>& kinds,
                        const std::function<void(const AnalysisRowSink& put)>& rows);

}  // namespace zeziza::pages

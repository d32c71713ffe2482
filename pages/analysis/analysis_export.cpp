#include "pages/analysis/analysis_export.h"

#include <utility>

#include "pages/common/item_lists.h"
#include "pages/common/workbook_download.h"
#include "web/user_session.h"

namespace zeziza::pages {

void makeExportLink(web::Link& link, std::function<void()> onClick) {
  link.Caption = kExportCaption;
  link.Download = true;
  link.OnClick = std::move(onClick);
}

std::string chosenUnless(const web::ComboBox& box, const std::string& all) {
  std::string text = chosenText(box);
  return text == all ? std::string() : text;
}

std::vector<std::vector<std::string>> gridTexts(const web::Grid& grid) {
  std::vector<std::vector<std::string>> rows;
  rows.reserve(static_cast<std::size_t>(grid.rowCount()));
  for (int r = 0; r < grid.rowCount(); ++r) {
    std::vector<std::string> row;
    for (int c = 0; c < grid.columnCount(); ++c) row.push_back(grid.cell(r, c).Text);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<std::string> headerTexts(const web::Grid& grid) {
  return grid.rowCount() > 0 ? grid.rowTexts(0) : std::vector<std::string>();
}

std::vector<std::vector<std::string>> dataSetTexts(const web::ClientDataSet& table) {
  std::vector<std::vector<std::string>> rows = {table.Columns};
  rows.insert(rows.end(), table.Rows.begin(), table.Rows.end());
  return rows;
}

void sendAnalysis(const AnalysisExport& shown, const std::vector<std::vector<std::string>>& table,
                  const std::vector<spreadsheet::CellKind>& kinds) {
  if (shown.fileName.empty()) {
    web::ShowMessage(kExportNothingMessage);
    return;
  }
  sendRows(spreadsheet::tableSheet(shown.scope, table, kinds), shown.fileName);
}

void sendAnalysisStream(const AnalysisExport& shown, const std::vector<std::string>& header,
                        const std::vector<spreadsheet::CellKind>& kinds,
                        const std::function<void(const AnalysisRowSink& put)>& rows) {
  if (shown.fileName.empty()) {
    web::ShowMessage(kExportNothingMessage);
    return;
  }
  sendWritten(
      [&](const std::filesystem::path& file) {
        spreadsheet::TableSheetStream sheet(file, shown.scope, header, kinds);
        rows([&](const std::vector<std::string>& texts) { sheet.add(texts); });
        sheet.close();
      },
      shown.fileName);
}

}  // namespace zeziza::pages

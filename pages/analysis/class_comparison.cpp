#include "pages/analysis/class_comparison.h"

#include <optional>
#include <vector>

#include "analysis/number_format.h"
#include "analysis/statistics.h"
#include "analysis/statistics_settings.h"
#include "analysis/statistics_text.h"
#include "pages/analysis/analysis_access.h"
#include "pages/analysis/scope_lists.h"
#include "pages/analysis/score_column_box.h"
#include "pages/analysis/score_columns.h"
#include "pages/analysis/score_scale.h"
#include "store/analysis_statements.h"
#include "store/row_stream.h"
#include "store/scope_conditions.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr int kFixedColumns = 17;

std::string fixed2(double value) {
  return analysis::formatFixed(value, analysis::kStatisticsDecimals);
}

// "40.00% [ 2 ]".
std::string rateCell(double rate, int count) {
  return fixed2(rate) + "% [ " + std::to_string(count) + " ]";
}

std::vector<std::string> comparisonRow(const std::string& unit, const std::string& grade,
                                       const std::string& cls, const analysis::ScoreStatistics& s) {
  std::vector<std::string> cells = {
      unit,
      grade,
      cls,
      std::to_string(s.enrolled),
      std::to_string(s.participants),
      analysis::formatGeneral(s.total),
      fixed2(s.mean),
      analysis::formatGeneral(s.highest),
      analysis::formatGeneral(s.lowest),
      fixed2(s.median),
      fixed2(s.variance),
      rateCell(s.excellentRate, s.excellentCount),
      rateCell(s.goodRate, s.goodCount),
      rateCell(s.passRate, s.passCount),
      rateCell(s.failRate, s.failCount),
      fixed2(s.skewness),
      fixed2(s.kurtosis),
  };
  for (auto& band : analysis::bandCountTexts(s)) cells.push_back(std::move(band));
  return cells;
}

std::string rateHeader(std::string_view rateCaption) {
  return std::string(rateCaption) + " [人数]";
}

void writeHeader(web::Grid& grid, const std::vector<std::string>& bandCaptions,
                 analysis::RateBasis rates) {
  std::vector<std::string> header = {"单位",
                                     "年级",
                                     "班次",
                                     "实有人数",
                                     "参考人数",
                                     "总分",
                                     "平均分",
                                     "最高分",
                                     "最低分",
                                     "中位数",
                                     "方差",
                                     "优秀率 [人数]",
                                     rateHeader(analysis::goodRateCaption(rates)),
                                     rateHeader(analysis::passRateCaption(rates)),
                                     "不及格率 [人数]",
                                     std::string(analysis::caption::kSkewness),
                                     std::string(analysis::caption::kKurtosis)};
  header.insert(header.end(), bandCaptions.begin(), bandCaptions.end());
  grid.setRowCount(0);
  grid.setColumnCount(static_cast<int>(header.size()));
  grid.setRowCount(1);
  for (std::size_t c = 0; c < header.size(); ++c)
    grid.cell(0, static_cast<int>(c)).Text = header[c];
}

void appendRow(web::Grid& grid, const std::vector<std::string>& cells) {
  const int r = grid.rowCount();
  grid.setRowCount(r + 1);
  for (std::size_t c = 0; c < cells.size(); ++c) grid.cell(r, static_cast<int>(c)).Text = cells[c];
}

// The record of one unit, grade and class in `exam`; none for fewer than two scores above 0.
std::optional<analysis::ScoreStatistics> pairStatistics(const store::ScoreColumn& column,
                                                        const std::string& exam,
                                                        const store::ScopeConditions& roster,
                                                        const analysis::ScoreLimits& limits) {
  store::ScopeConditions scope = roster;
  scope.equals(store::ScopeColumn::Exam, exam);
  std::vector<double> values;
  store::forEachRow(web::currentSession().dataConnection.db(),
                    store::columnValuesStatement(column, scope),
                    [&](const store::Statement& row) { values.push_back(row.columnDouble(0)); });
  return analysis::computeStatistics(values, 0, limits);
}

}  // namespace

ClassComparisonPage::ClassComparisonPage() : web::Page(kName) {
  Title = "班级对比";
  OnCreate = [this] { onCreate(); };
  columnLabel.Caption = "科目";
  analyseButton.Caption = "分析";
  analyseButton.OnClick = [this] { onAnalyse(); };
  makeExportLink(ExportLink, [this] { onExport(); });
  parametersLabel.Caption = "分析参数：";
  analysedLabel.Caption = "---";
  resultGrid.Visible = false;
}

void ClassComparisonPage::onCreate() {
  if (!allowAnalysisPage(*this)) return;
  scopeBoxes.fill();
  fillScoreColumnBox(columnBox, SummaryFirst::total);
}

store::ScoreColumn ClassComparisonPage::chosenColumn() const {
  return chosenScoreColumn(columnBox, SummaryFirst::total);
}

void ClassComparisonPage::onAnalyse() {
  if (!allowAnalysisAction() || !requireChoice(examBox, "请先选择考试！") ||
      !requireChoice(gradeBox, "请先选择年级！") || !requireChoice(columnBox, "请先选择科目！")) {
    return;
  }
  // The chosen grade, within the permitted scope (a class teacher's class alone).
  const store::Scope chosen = scopeBoxes.scope();
  const auto settings = web::currentSession().context().settings().get();
  // Levels and bands in the points of the chosen column (a total is out of several hundred).
  const ScoreScale scale = sessionScoreScale();
  const analysis::ScoreLimits limits = scale.limits(columnBox.text());
  const std::string& exam = examBox.text();
  const std::string& grade = *chosen.grade;
  const store::ScoreColumn column = chosenColumn();
  analysedLabel.Caption =
      "对不同班级在" + exam + " 中 " + grade + " 的 " + columnBox.text() + " 成绩对比";
  writeHeader(resultGrid, scale.bandCaptions(columnBox.text()), scale.rateBasis());
  resultGrid.Visible = true;
  export_ = {{analysedLabel.Caption},
             spreadsheet::workbookName("班级对比", {exam, grade, columnBox.text()})};

  for (const auto& unit : settings->units) {
    for (const auto& cls : settings->classes) {
      const store::Scope place = store::Scope::place(unit, grade, cls);
      if (!place.within(chosen)) continue;
      store::ScopeConditions roster;
      roster.within(place);
      auto stats = pairStatistics(column, exam, roster, limits);
      if (!stats) continue;  // fewer than two scores above 0: no row, no gap
      stats->enrolled = store::countEnrolled(web::currentSession().dataConnection.db(), roster);
      appendRow(resultGrid, comparisonRow(unit, grade, cls, *stats));
    }
  }
}

void ClassComparisonPage::onExport() {
  if (!allowAnalysisAction()) return;
  using spreadsheet::CellKind;
  std::vector<CellKind> kinds(kFixedColumns, CellKind::Number);
  for (const int c : {0, 1, 2}) kinds[c] = CellKind::Text;
  for (const int c : {11, 12, 13, 14}) kinds[c] = CellKind::Rate;  // 40.00% [ 2 ]
  sendAnalysis(export_, gridTexts(resultGrid), kinds);
}

}  // namespace zeziza::pages

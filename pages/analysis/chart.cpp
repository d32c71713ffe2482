#include "pages/analysis/chart.h"

#include <stdexcept>
#include <vector>

#include "pages/analysis/analysis_access.h"
#include "pages/analysis/chart_grouping.h"
#include "pages/analysis/scope_lists.h"
#include "pages/analysis/score_columns.h"
#include "pages/analysis/score_scale.h"
#include "pages/common/text.h"
#include "store/analysis_statements.h"
#include "store/row_stream.h"
#include "store/scope_conditions.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

enum Grouping { kByUnit = 0, kByGrade = 1, kByClass = 2, kByStudent = 3, kByExam = 4 };
enum Field : std::size_t { kId, kName, kUnit, kGrade, kClass, kExam, kAverage, kFirstSubject };

constexpr const char* kOverall = "整体";

// The student's 考号 as an integer, as the student grouping shows it ("007" shows as 7).
std::string idAsInteger(const std::string& id) {
  const auto number = exactInteger<long long>(id);
  if (!number) throw std::runtime_error("考号“" + id + "”不是整数，不能按学生分析");
  return std::to_string(*number);
}

// The column numbers of the session's first `count` subjects.
std::vector<int> subjectNumbers(const std::vector<SubjectColumn>& subjects, std::size_t count) {
  if (subjects.size() < count) {
    throw std::runtime_error("科目在登录之后有变动，请重新登录后再分析");
  }
  std::vector<int> numbers;
  for (std::size_t j = 0; j < count; ++j) numbers.push_back(subjects[j].number);
  return numbers;
}

}  // namespace

ChartPage::ChartPage() : web::Page(kName) {
  Title = "图表统计";
  OnCreate = [this] { onCreate(); };
  scopeLabel.Caption = "分析范围";
  groupingLabel.Caption = "分析单位";
  measureLabel.Caption = "分析指标";
  analyseButton.Caption = "开始分析";
  analyseButton.OnClick = [this] { onAnalyse(); };
  makeExportLink(ExportLink, [this] { onExport(); });
  parametersLabel.Caption = "分析参数";
  analysedLabel.Caption = "---";
  resultGrid.Visible = false;
  resultGrid.DataSet = &chartTable_;
  resultChart.DataSet = &chartTable_;
  resultChart.CategoryColumn = "单位";
  resultChart.Colors = {"#B47D4B", "#B49B52", "#839573", "#416674", "#835082"};
  resultChart.ShowValues = true;
  resultChart.LegendWidth = 191;
}

void ChartPage::onCreate() {
  if (!allowAnalysisPage(*this)) return;
  const auto settings = web::currentSession().context().settings().get();
  scopeBoxes.fill();
  fillCombo(groupingBox, {"学校", "年级", "班次", "学生", "考试名称"});
  fillComboWithAll(columnBox, "综合成绩", settings->subjects);
  fillCombo(presentationBox, {"图表呈现", "表格呈现"});
}

std::string ChartPage::groupKey(const store::Statement& row, const store::Scope& scope) const {
  const auto text = [&](Field field) { return row.column(field).asText(); };
  switch (groupingBox.ItemIndex) {
    case kByUnit:
      return text(kUnit);
    case kByGrade:
      return text(kGrade);
    case kByClass:
      return classGroupKey(text(kUnit), text(kGrade), text(kClass), scope.unit.has_value(),
                           scope.grade.has_value());
    case kByStudent:
      return idAsInteger(text(kId)) + "[" + text(Field::kName) + "]";
    case kByExam:
      return text(kExam);
  }
  throw std::logic_error("unknown grouping");
}

void ChartPage::onAnalyse() {
  if (!allowAnalysisAction() || !requireChoice(examBox, "请先选择考试！")) return;
  const store::Scope chosen = scopeBoxes.scope();  // first: a refusal changes nothing
  const auto& subjects = web::currentSession().context().settings().get()->subjects;
  analysedLabel.Caption = "在" + examBox.text() + unitBox.text() + gradeBox.text() +
                          classBox.text() + "范围内,对不同" + groupingBox.text() + "进行分析";
  store::ScopeConditions scope;
  scope.exam(scopeBoxes.chosenExam()).within(chosen);
  // Rows in the order they were stored: a group stands where its first row comes. Each row
  // is folded into its group as it is read; none is kept.
  web::Session& session = web::currentSession();
  ChartGrouping grouping(subjects.size());
  std::vector<double> scores(subjects.size());
  store::forEachRow(
      session.dataConnection.db(),
      store::chartRowsStatement(subjectNumbers(session.login.subjects, subjects.size()), scope,
                                store::averageSql(sessionAverageBasis(), session.login.subjects)),
      [&](const store::Statement& row) {
        for (std::size_t j = 0; j < scores.size(); ++j) {
          scores[j] = row.columnDouble(static_cast<int>(kFirstSubject + j));
        }
        grouping.add(groupKey(row, chosen), scores, row.columnDouble(kAverage));
      });
  workingTable_ = grouping.workingTable(subjects);
  chartTable_ = grouping.chartTable(subjects);
  const bool asChart = presentationBox.ItemIndex != 1;
  resultChart.ValueColumn = columnBox.ItemIndex > 0 ? columnBox.text() : kOverall;
  resultChart.Visible = asChart;
  resultGrid.Visible = !asChart;
  export_ = {{analysedLabel.Caption},
             spreadsheet::workbookName("图表统计", {examBox.text(), groupingBox.text()})};
}

// The table of all columns, whether the chart or the table is shown.
void ChartPage::onExport() {
  if (!allowAnalysisAction()) return;
  sendAnalysis(export_, dataSetTexts(chartTable_), {spreadsheet::CellKind::Text});
}

}  // namespace zeziza::pages

#include "pages/analysis/chart.h"

#include <stdexcept>
#include <vector>

#include "pages/analysis/analysis_access.h"
#include "pages/analysis/chart_grouping.h"
#include "pages/analysis/scope_filter.h"
#include "pages/analysis/scope_lists.h"
#include "pages/analysis/score_columns.h"
#include "pages/common/text.h"
#include "store/analysis_statements.h"
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

ChartPage::ChartPage() : web::Page("ChartPage") {
  Title = "图表统计";
  OnCreate = [this] { onCreate(); };
  IWLabel1.Caption = "分析范围";
  IWLabel2.Caption = "分析单位";
  IWLabel3.Caption = "分析指标";
  IWButton1.Caption = "开始分析";
  IWButton1.OnClick = [this] { IWButton1Click(); };
  makeExportLink(ExportLink, [this] { ExportLinkClick(); });
  IWLabel4.Caption = "分析参数";
  IWLabel5.Caption = "---";
  IWDynGrid1.Visible = false;
  IWDynGrid1.DataSet = &chartTable_;
  IWDynamicChart1.DataSet = &chartTable_;
  IWDynamicChart1.CategoryColumn = "单位";
  IWDynamicChart1.Colors = {"#B47D4B", "#B49B52", "#839573", "#416674", "#835082"};
  IWDynamicChart1.ShowValues = true;
  IWDynamicChart1.LegendWidth = 191;
}

void ChartPage::onCreate() {
  if (!allowAnalysisPage(*this)) return;
  const auto settings = web::currentSession().context().settings().get();
  fillComboWithAll(IWComboBox1, "全部考试", sessionExams());
  IWComboBox1.select(web::currentSession().defaultExam);
  fillComboWithAll(IWComboBox2, "所有学校", settings->units);
  fillComboWithAll(IWComboBox3, "全部年级", sessionGrades());
  fillComboWithAll(IWComboBox4, "所有班", settings->classes);
  fillCombo(IWComboBox5, {"学校", "年级", "班次", "学生", "考试名称"});
  fillComboWithAll(IWComboBox6, "综合成绩", settings->subjects);
  fillCombo(IWComboBox7, {"图表呈现", "表格呈现"});
}

std::string ChartPage::groupKey(const store::Query& rows, std::size_t row) const {
  const auto text = [&](Field field) { return rows.fieldAt(row, field).asText(); };
  switch (IWComboBox5.ItemIndex) {
    case kByUnit:
      return text(kUnit);
    case kByGrade:
      return text(kGrade);
    case kByClass:
      return text(kClass);
    case kByStudent:
      return idAsInteger(text(kId)) + "[" + text(kName) + "]";
    case kByExam:
      return text(kExam);
  }
  throw std::logic_error("unknown grouping");
}

void ChartPage::IWButton1Click() {
  if (!allowAnalysisAction() || !requireChoice(IWComboBox1, "请先选择考试！")) return;
  const auto& subjects = web::currentSession().context().settings().get()->subjects;
  IWLabel5.Caption = "在" + IWComboBox1.text() + IWComboBox2.text() + IWComboBox3.text() +
                     IWComboBox4.text() + "范围内,对不同" + IWComboBox5.text() + "进行分析";
  ScopeFilter scope;
  scope.unlessFirst(ScopeColumn::Exam, IWComboBox1)
      .unlessFirst(ScopeColumn::Unit, IWComboBox2)
      .unlessFirst(ScopeColumn::Grade, IWComboBox3)
      .unlessFirst(ScopeColumn::Class, IWComboBox4);
  store::Query& rows = web::currentSession().sqlc;
  // Rows in the order they were stored: a group stands where its first row comes.
  const store::BoundStatement statement = store::chartRowsStatement(
      subjectNumbers(web::currentSession().subjects, subjects.size()), scope.conditions());
  rows.open(statement.sql, statement.params);
  ChartGrouping grouping(subjects.size());
  std::vector<double> scores(subjects.size());
  for (std::size_t r = 0; r < rows.recordCount(); ++r) {
    for (std::size_t j = 0; j < scores.size(); ++j) {
      scores[j] = rows.fieldAt(r, kFirstSubject + j).asDouble();
    }
    grouping.add(groupKey(rows, r), scores, rows.fieldAt(r, kAverage).asDouble());
  }
  workingTable_ = grouping.workingTable(subjects);
  chartTable_ = grouping.chartTable(subjects);
  const bool asChart = IWComboBox7.ItemIndex != 1;
  IWDynamicChart1.ValueColumn = IWComboBox6.ItemIndex > 0 ? IWComboBox6.text() : kOverall;
  IWDynamicChart1.Visible = asChart;
  IWDynGrid1.Visible = !asChart;
  export_ = {{IWLabel5.Caption},
             spreadsheet::workbookName("图表统计", {IWComboBox1.text(), IWComboBox5.text()})};
}

// The table of all columns, whether the chart or the table is shown.
void ChartPage::ExportLinkClick() {
  if (!allowAnalysisAction()) return;
  sendAnalysis(export_, dataSetTexts(chartTable_), {spreadsheet::CellKind::Text});
}

}  // namespace zeziza::pages

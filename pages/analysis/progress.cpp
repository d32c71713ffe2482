#include "pages/analysis/progress.h"

#include <vector>

#include "pages/analysis/analysis_access.h"
#include "pages/analysis/scope_filter.h"
#include "pages/analysis/scope_lists.h"
#include "pages/analysis/score_columns.h"
#include "pages/analysis/score_scale.h"
#include "store/analysis_statements.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kAllUnits = "所有学校";
constexpr const char* kAllGrades = "所有年级";
constexpr const char* kAllClasses = "所有班";
constexpr const char* kAverage = "平均分";

std::vector<std::string> boundItems() {
  std::vector<std::string> items;
  for (const int sign : {1, -1}) {
    for (const int n :
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 20, 30, 50, 100, 200, 500, 1000, 10000}) {
      if (sign < 0 && n == 0) continue;
      items.push_back(std::to_string(sign * n));
    }
  }
  return items;
}

std::vector<std::string> rowCells(const ProgressRow& row) {
  return {row.id,
          row.name,
          row.unit,
          row.grade,
          row.cls,
          row.referenceValue,
          std::to_string(row.referenceRank),
          row.comparisonValue,
          row.comparisonRank ? std::to_string(*row.comparisonRank) : "",
          row.advance ? std::to_string(*row.advance) : ""};
}

void appendRow(web::Grid& grid, const std::vector<std::string>& cells) {
  const int r = grid.rowCount();
  grid.setRowCount(r + 1);
  for (std::size_t c = 0; c < cells.size(); ++c) grid.cell(r, static_cast<int>(c)).Text = cells[c];
}

}  // namespace

TIWForm7::TIWForm7() : web::Page("TIWForm7") {
  Title = "进步统计";
  OnCreate = [this] { IWAppFormCreate(); };
  for (web::Region* row : {&IWRegion1, &IWRegion2, &IWRegion3, &IWRegion4}) row->Css = "bar";
  IWLabel1.Caption = "分析范围：";
  IWLabel2.Caption = "分析科目";
  IWLabel3.Caption = "对比考试";
  IWLabel4.Caption = "参照考试";
  IWButton1.Caption = "进阶统计";
  IWButton1.OnClick = [this] { IWButton1Click(); };
  IWLabel5.Caption = "统计范围：";
  IWLabel6.Caption = "--";
  IWLabel7.Caption = "结果过滤：";
  IWLabel8.Caption = "<进阶<";
  IWButton2.Caption = "过滤";
  IWButton2.OnClick = [this] { IWButton2Click(); };
  makeExportLink(ExportLink, [this] { ExportLinkClick(); });
  IWGrid1.Visible = false;
  IWGrid1.setColumnCount(10);
}

void TIWForm7::IWAppFormCreate() {
  if (!allowAnalysisPage(*this)) return;
  const auto settings = web::UserSession().context().settings().get();
  fillComboWithAll(IWComboBox1, kAllUnits, settings->units);
  fillCombo(IWComboBox2, sessionGrades());
  fillComboWithAll(IWComboBox3, kAllClasses, settings->classes);
  fillComboWithAll(IWComboBox4, kAverage, settings->subjects);
  fillCombo(IWComboBox5, sessionExams());
  IWComboBox5.select(web::UserSession().defaultExam);
  fillCombo(IWComboBox6, sessionExams());
  fillCombo(IWComboBox7, boundItems());
  IWComboBox7.select("-10000");
  fillCombo(IWComboBox8, boundItems());
  IWComboBox8.select("10000");
}

void TIWForm7::openRanking(const std::string& exam) {
  ScopeFilter scope;
  scope.equals(ScopeColumn::Exam, exam)
      .unlessText(ScopeColumn::Unit, IWComboBox1, kAllUnits)
      .unlessText(ScopeColumn::Grade, IWComboBox2, kAllGrades)
      .unlessText(ScopeColumn::Class, IWComboBox3, kAllClasses);
  // A subject is ranked by the column the session's sign-in named after it.
  std::string value = "cj.pj";
  if (IWComboBox4.ItemIndex > 0) {
    const SessionSubjects subjects = SessionSubjects::current();
    value = subjectColumn(subjects.numberOf(IWComboBox4.text()));
  }
  const store::BoundStatement statement = store::columnRankingStatement(value, scope.conditions());
  web::UserSession().sqla.open(statement.sql, statement.params);
}

void TIWForm7::IWButton1Click() {
  if (!allowAnalysisAction() || !requireChoice(IWComboBox5, "请先选择对比考试！") ||
      !requireChoice(IWComboBox6, "请先选择参照考试！") ||
      !requireChoice(IWComboBox2, "请先选择年级！")) {
    return;
  }
  const std::string reference = IWComboBox6.text();
  const std::string comparison = IWComboBox5.text();
  if (reference == comparison) {
    web::ShowMessage("对比考试与参照考试不能相同");
    return;
  }
  IWLabel6.Caption = IWComboBox1.text() + " " + IWComboBox2.text() + " " + IWComboBox3.text() +
                     " [" + IWComboBox4.text() + "]";
  working_ = ProgressTable();
  openRanking(reference);
  working_.readReference(web::UserSession().sqla);
  openRanking(comparison);
  working_.readComparison(web::UserSession().sqla, sessionRankMode());
  const ProgressParticipants& n = working_.participants();
  IWLabel9.Caption = "参照考试参考" + std::to_string(n.reference) + "人，对比考试参考" +
                     std::to_string(n.comparison) + "人，两次都参考" + std::to_string(n.both) +
                     "人（只比较两次都参考的学生）";
  IWGrid1.Visible = true;
  export_ = {{"统计范围:", IWLabel6.Caption, "参照考试:" + reference, "对比考试:" + comparison,
              IWLabel9.Caption},
             spreadsheet::workbookName(
                 "进步统计",
                 {reference + "-" + comparison, chosenUnless(IWComboBox1, kAllUnits),
                  IWComboBox2.text(), chosenUnless(IWComboBox3, kAllClasses), IWComboBox4.text()})};
  IWButton2Click();
}

// The list as the filter shows it.
void TIWForm7::ExportLinkClick() {
  if (!allowAnalysisAction()) return;
  using spreadsheet::CellKind;
  std::vector<CellKind> kinds(5, CellKind::Text);
  kinds.resize(10, CellKind::Number);
  sendAnalysis(export_, gridTexts(IWGrid1), kinds);
}

void TIWForm7::IWButton2Click() {
  if (!allowAnalysisAction() || !requireChoice(IWComboBox5, "请先选择对比考试！") ||
      !requireChoice(IWComboBox6, "请先选择参照考试！")) {
    return;
  }
  const int lower = std::stoi(IWComboBox7.text());
  const int upper = std::stoi(IWComboBox8.text());
  IWGrid1.setRowCount(0);
  appendRow(IWGrid1, {"考号", "姓名", "学校", "年级", "班次", IWComboBox6.text() + "成绩", "名次",
                      IWComboBox5.text() + "成绩", "名次", "进阶"});
  for (const ProgressRow& row : working_.rows()) {
    if (row.advance && lower <= *row.advance && *row.advance <= upper) {
      appendRow(IWGrid1, rowCells(row));
    }
  }
}

}  // namespace zeziza::pages

#include "pages/analysis/progress.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "pages/analysis/analysis_access.h"
#include "pages/analysis/scope_lists.h"
#include "pages/analysis/score_columns.h"
#include "pages/analysis/score_scale.h"
#include "store/analysis_statements.h"
#include "store/ranking_rows.h"
#include "store/row_stream.h"
#include "store/scope_conditions.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

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

}  // namespace

ProgressPage::ProgressPage() : web::Page(kName) {
  Title = "进步统计";
  OnCreate = [this] { onCreate(); };
  resultGrid.Css = "grid iw-keep-2";  // 考号 and 姓名 stay in view
  for (web::Region* row : {&scopeBar, &examsBar, &filterBar, &countsPanel}) row->Css = "bar";
  scopeLabel.Caption = "分析范围：";
  columnLabel.Caption = "分析科目";
  comparisonLabel.Caption = "对比考试";
  referenceLabel.Caption = "参照考试";
  analyseButton.Caption = "进阶统计";
  analyseButton.OnClick = [this] { onAnalyse(); };
  computedScopeTitle.Caption = "统计范围：";
  computedScopeLabel.Caption = "--";
  filterLabel.Caption = "结果过滤：";
  betweenLabel.Caption = "<进阶<";
  filterButton.Caption = "过滤";
  filterButton.OnClick = [this] { onFilter(); };
  makeExportLink(ExportLink, [this] { onExport(); });
  resultGrid.Visible = false;
  resultGrid.setColumnCount(10);
}

void ProgressPage::onCreate() {
  if (!allowAnalysisPage(*this)) return;
  const auto settings = web::currentSession().context().settings().get();
  scopeBoxes.fill();
  fillComboWithAll(columnBox, kAverage, settings->subjects);
  fillCombo(comparisonExamBox, sessionExams());
  comparisonExamBox.select(web::currentSession().login.defaultExam);
  fillCombo(referenceExamBox, sessionExams());
  fillCombo(lowerBox, boundItems());
  lowerBox.select("-10000");
  fillCombo(upperBox, boundItems());
  upperBox.select("10000");
}

void ProgressPage::readRanking(const std::string& exam, const store::Scope& chosen,
                               const std::function<void(std::int64_t, double)>& add) {
  store::ScopeConditions scope;
  scope.equals(store::ScopeColumn::Exam, exam).within(chosen);
  // A subject is ranked by the column the session's sign-in named after it.
  store::ScoreColumn value = sessionAverageColumn();
  if (columnBox.ItemIndex > 0) {
    const SessionSubjects subjects = SessionSubjects::current();
    value = store::ScoreColumn::subject(subjects.numberOf(columnBox.text()));
  }
  store::forEachRow(web::currentSession().dataConnection.db(),
                    store::columnRankingStatement(value, scope), [&](const store::Statement& row) {
                      add(row.columnInt(0), row.columnDouble(1));  // 学生, 成绩
                    });
}

void ProgressPage::onAnalyse() {
  if (!allowAnalysisAction() || !requireChoice(comparisonExamBox, "请先选择对比考试！") ||
      !requireChoice(referenceExamBox, "请先选择参照考试！") ||
      !requireChoice(gradeBox, "请先选择年级！")) {
    return;
  }
  const std::string reference = referenceExamBox.text();
  const std::string comparison = comparisonExamBox.text();
  if (reference == comparison) {
    web::ShowMessage("对比考试与参照考试不能相同");
    return;
  }
  const store::Scope chosen = scopeBoxes.scope();  // before anything changes: it may refuse
  computedScopeLabel.Caption = unitBox.text() + " " + gradeBox.text() + " " + classBox.text() +
                               " [" + columnBox.text() + "]";
  // The list of an earlier computation goes first: its rows index the table replaced here.
  working_ = ProgressTable();
  shown_.clear();
  resultGrid.setRowCount(std::min(resultGrid.rowCount(), 1));
  ProgressTable table;  // kept only once complete
  readRanking(reference, chosen,
              [&table](std::int64_t student, double value) { table.addReference(student, value); });
  readRanking(comparison, chosen, [&table](std::int64_t student, double value) {
    table.addComparison(student, value);
  });
  table.rankBoth(sessionRankMode());
  working_ = std::move(table);
  const ProgressParticipants& n = working_.participants();
  countsLabel.Caption = "参照考试参考" + std::to_string(n.reference) + "人，对比考试参考" +
                        std::to_string(n.comparison) + "人，两次都参考" + std::to_string(n.both) +
                        "人（只比较两次都参考的学生）";
  resultGrid.Visible = true;
  export_ = {{"统计范围:", computedScopeLabel.Caption, "参照考试:" + reference,
              "对比考试:" + comparison, countsLabel.Caption},
             spreadsheet::workbookName(
                 "进步统计", {reference + "-" + comparison, chosen.unit.value_or(""),
                              gradeBox.text(), chosen.cls.value_or(""), columnBox.text()})};
  onFilter();
}

// The list as the filter shows it, every row of it.
void ProgressPage::onExport() {
  if (!allowAnalysisAction()) return;
  using spreadsheet::CellKind;
  std::vector<CellKind> kinds(5, CellKind::Text);
  kinds.resize(10, CellKind::Number);
  store::Database& db = web::currentSession().dataConnection.db();
  sendAnalysisStream(export_, headerTexts(resultGrid), kinds, [&](const AnalysisRowSink& put) {
    for (std::size_t first = 0; first < shown_.size(); first += store::kMaxKeysPerRead) {
      for (const auto& row : working_.texts(db, shown_, first, store::kMaxKeysPerRead)) put(row);
    }
  });
}

void ProgressPage::onFilter() {
  if (!allowAnalysisAction() || !requireChoice(comparisonExamBox, "请先选择对比考试！") ||
      !requireChoice(referenceExamBox, "请先选择参照考试！")) {
    return;
  }
  const int lower = std::stoi(lowerBox.text());
  const int upper = std::stoi(upperBox.text());
  resultGrid.setRowCount(0);
  resultGrid.setRowCount(1);
  const std::vector<std::string> header = {"考号", "姓名",
                                           "学校", "年级",
                                           "班次", referenceExamBox.text() + "成绩",
                                           "名次", comparisonExamBox.text() + "成绩",
                                           "名次", "进阶"};
  for (std::size_t c = 0; c < header.size(); ++c)
    resultGrid.cell(0, static_cast<int>(c)).Text = header[c];
  shown_.clear();
  const auto& rows = working_.rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (lower <= rows[i].advance() && rows[i].advance() <= upper) {
      shown_.push_back(static_cast<std::uint32_t>(i));
    }
  }
  shown_.shrink_to_fit();
  // The rows' texts are read by key for the page shown.
  store::Connection& connection = web::currentSession().dataConnection;
  resultGrid.setRowSource(static_cast<int>(shown_.size()), [this, &connection](int first, int n) {
    return working_.texts(connection.db(), shown_, static_cast<std::size_t>(first),
                          static_cast<std::size_t>(n));
  });
}

}  // namespace zeziza::pages

#include "pages/analysis/progress.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "pages/analysis/analysis_access.h"
#include "pages/analysis/scope_filter.h"
#include "pages/analysis/scope_lists.h"
#include "pages/analysis/score_columns.h"
#include "pages/analysis/score_scale.h"
#include "store/analysis_statements.h"
#include "store/ranking_rows.h"
#include "store/row_stream.h"
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

}  // namespace

ProgressPage::ProgressPage() : web::Page("ProgressPage") {
  Title = "进步统计";
  OnCreate = [this] { onCreate(); };
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

void ProgressPage::onCreate() {
  if (!allowAnalysisPage(*this)) return;
  const auto settings = web::currentSession().context().settings().get();
  fillComboWithAll(IWComboBox1, kAllUnits, settings->units);
  fillCombo(IWComboBox2, sessionGrades());
  fillComboWithAll(IWComboBox3, kAllClasses, settings->classes);
  fillComboWithAll(IWComboBox4, kAverage, settings->subjects);
  fillCombo(IWComboBox5, sessionExams());
  IWComboBox5.select(web::currentSession().defaultExam);
  fillCombo(IWComboBox6, sessionExams());
  fillCombo(IWComboBox7, boundItems());
  IWComboBox7.select("-10000");
  fillCombo(IWComboBox8, boundItems());
  IWComboBox8.select("10000");
}

void ProgressPage::readRanking(const std::string& exam,
                           const std::function<void(std::int64_t, double)>& add) {
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
  store::forEachRow(web::currentSession().dataConnection.db(),
                    store::columnRankingStatement(value, scope.conditions()),
                    [&](const store::Statement& row) {
                      add(row.columnInt(0), row.columnDouble(1));  // 学生, 成绩
                    });
}

void ProgressPage::IWButton1Click() {
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
  // The list of an earlier computation goes first: its rows index the table replaced here.
  working_ = ProgressTable();
  shown_.clear();
  IWGrid1.setRowCount(std::min(IWGrid1.rowCount(), 1));
  ProgressTable table;  // kept only once complete
  readRanking(reference,
              [&table](std::int64_t student, double value) { table.addReference(student, value); });
  readRanking(comparison, [&table](std::int64_t student, double value) {
    table.addComparison(student, value);
  });
  table.rankBoth(sessionRankMode());
  working_ = std::move(table);
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

// The list as the filter shows it, every row of it.
void ProgressPage::ExportLinkClick() {
  if (!allowAnalysisAction()) return;
  using spreadsheet::CellKind;
  std::vector<CellKind> kinds(5, CellKind::Text);
  kinds.resize(10, CellKind::Number);
  store::Database& db = web::currentSession().dataConnection.db();
  sendAnalysisStream(export_, headerTexts(IWGrid1), kinds, [&](const AnalysisRowSink& put) {
    for (std::size_t first = 0; first < shown_.size(); first += store::kMaxKeysPerRead) {
      for (const auto& row : working_.texts(db, shown_, first, store::kMaxKeysPerRead)) put(row);
    }
  });
}

void ProgressPage::IWButton2Click() {
  if (!allowAnalysisAction() || !requireChoice(IWComboBox5, "请先选择对比考试！") ||
      !requireChoice(IWComboBox6, "请先选择参照考试！")) {
    return;
  }
  const int lower = std::stoi(IWComboBox7.text());
  const int upper = std::stoi(IWComboBox8.text());
  IWGrid1.setRowCount(0);
  IWGrid1.setRowCount(1);
  const std::vector<std::string> header = {"考号", "姓名",
                                           "学校", "年级",
                                           "班次", IWComboBox6.text() + "成绩",
                                           "名次", IWComboBox5.text() + "成绩",
                                           "名次", "进阶"};
  for (std::size_t c = 0; c < header.size(); ++c)
    IWGrid1.cell(0, static_cast<int>(c)).Text = header[c];
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
  IWGrid1.setRowSource(static_cast<int>(shown_.size()), [this, &connection](int first, int n) {
    return working_.texts(connection.db(), shown_, static_cast<std::size_t>(first),
                          static_cast<std::size_t>(n));
  });
}

}  // namespace zeziza::pages

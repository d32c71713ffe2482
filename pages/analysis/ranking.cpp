#include "pages/analysis/ranking.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/number_format.h"
#include "analysis/ranks.h"
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

constexpr int kFixedColumns = 9;  // 序号 … 平均分
constexpr int kTotalColumn = 7;
constexpr int kAverageColumn = 8;

// Result columns of the ranking statement, then one per subject of the session.
enum Field : std::size_t { kExam, kId, kName, kUnit, kGrade, kClass, kTotal, kAverage, kRowId };

std::string rankCell(std::size_t rank, const std::string& score) {
  return "[ " + std::to_string(rank) + " ] " + score;
}

// Every score row of the scope with all its columns, by total, highest first; equal scores
// keep the order in which the rows were stored.
void openRanking(store::Query& query, const SessionSubjects& subjects, const ScopeFilter& scope) {
  const store::BoundStatement statement =
      store::totalRankingStatement(subjects.columns(), scope.conditions());
  query.open(statement.sql, statement.params);
}

void writeHeader(web::Grid& grid, const std::vector<std::string>& subjects) {
  grid.setRowCount(0);
  grid.setColumnCount(kFixedColumns + static_cast<int>(subjects.size()));
  grid.setRowCount(1);
  const char* header[] = {"序号", "考号",     "姓名", "学校",  "年级",
                          "班次", "考试名称", "总分", "平均分"};
  for (int c = 0; c < kFixedColumns; ++c) grid.cell(0, c).Text = header[c];
  for (std::size_t s = 0; s < subjects.size(); ++s) {
    grid.cell(0, kFixedColumns + static_cast<int>(s)).Text = subjects[s];
  }
}

// Total pass: one grid row per result row, every row ranked, including totals of 0.
void fillTotalPass(web::Grid& grid, const store::Query& query, analysis::RankMode mode) {
  const auto& rows = query.rows();
  std::vector<double> totals;
  totals.reserve(rows.size());
  for (const auto& row : rows) totals.push_back(row[kTotal].asDouble());
  const auto totalRanks = analysis::ranksInOrder(totals, mode);
  grid.setRowCount(static_cast<int>(rows.size()) + 1);
  constexpr Field kShown[] = {kId, kName, kUnit, kGrade, kClass, kExam};  // grid columns 1..6
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int r = static_cast<int>(i) + 1;
    grid.cell(r, 0).Text = std::to_string(i + 1);
    for (std::size_t c = 0; c < std::size(kShown); ++c) {
      grid.cell(r, static_cast<int>(c) + 1).Text = rows[i][kShown[c]].asText();
    }
    grid.cell(r, kTotalColumn).Text = rankCell(totalRanks[i], analysis::formatFixed(totals[i], 2));
  }
}

// One entry of a rank pass: a result row's value and where it was stored.
struct Ranked {
  double value;
  std::int64_t rowId;
  std::size_t row;
};

// The average and every session subject's values of the result rows, by row, read in one
// sweep over the rows.
class RankingValues {
 public:
  RankingValues(const store::Query& query, const SessionSubjects& subjects) : subjects_(subjects) {
    std::vector<std::size_t> fields = {kAverage};
    for (const auto& column : subjects.columns()) {
      fields.push_back(query.fieldIndex(subjectKey(column.number)));
    }
    const auto& rows = query.rows();
    columns_.assign(fields.size(), std::vector<Ranked>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const std::int64_t rowId = rows[i][kRowId].asInt();
      for (std::size_t f = 0; f < fields.size(); ++f) {
        columns_[f][i] = Ranked{rows[i][fields[f]].asDouble(), rowId, i};
      }
    }
  }
  const std::vector<Ranked>& average() const { return columns_[0]; }
  // The column the sign-in named after `name`; none for a subject set up later.
  const std::vector<Ranked>* subject(const std::string& name) const {
    const auto& columns = subjects_.columns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (columns[c].name == name) return &columns_[c + 1];
    }
    return nullptr;
  }

 private:
  const SessionSubjects& subjects_;
  std::vector<std::vector<Ranked>> columns_;  // the average, then each session subject
};

// A rank pass: the rows by one column, highest first (equal values in stored order), ranked
// until the first value of 0. Returns each row's rank (0: none), indexed by row, so the grid is
// then filled row by row and no row is ever searched for.
std::vector<std::uint32_t> rankPass(std::vector<Ranked> ranked, analysis::RankMode mode) {
  std::vector<std::uint32_t> rankOfRow(ranked.size(), 0);
  std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
    return a.value != b.value ? a.value > b.value : a.rowId < b.rowId;
  });
  std::vector<double> ordered;
  ordered.reserve(ranked.size());
  for (const Ranked& r : ranked) ordered.push_back(r.value);
  const auto ranks = analysis::ranksInOrder(ordered, mode);
  for (std::size_t p = 0; p < ranked.size() && ranked[p].value != 0; ++p) {
    rankOfRow[ranked[p].row] = ranks[p];
  }
  return rankOfRow;
}

// One rank column of the grid: its values by row and their ranks.
struct RankColumn {
  int gridColumn;
  const std::vector<Ranked>* byRow;
  std::vector<std::uint32_t> rankOfRow;
};

// Writes "[ rank ] value" (general form) into every ranked cell, one grid row at a time.
void fillRankColumns(web::Grid& grid, const std::vector<RankColumn>& columns) {
  const std::size_t rows = columns.empty() ? 0 : columns.front().rankOfRow.size();
  for (std::size_t i = 0; i < rows; ++i) {
    for (const RankColumn& c : columns) {
      if (c.rankOfRow[i] == 0) continue;
      grid.cell(static_cast<int>(i) + 1, c.gridColumn).Text =
          rankCell(c.rankOfRow[i], analysis::formatGeneral((*c.byRow)[i].value));
    }
  }
}

}  // namespace

TIWForm12::TIWForm12() : web::Page("TIWForm12") {
  Title = "成绩排序";
  OnCreate = [this] { IWAppFormCreate(); };
  IWLabel1.Caption = "排序范围";
  IWButton1.Caption = "排序";
  IWButton1.OnClick = [this] { IWButton1Click(); };
  makeExportLink(ExportLink, [this] { ExportLinkClick(); });
  // Shown while nothing is chosen.
  IWComboBox1.NoSelectionText = "考试";
  IWComboBox2.NoSelectionText = "学校";
  IWComboBox3.NoSelectionText = "年级";
  IWComboBox4.NoSelectionText = "班次";
  IWGrid1.Visible = false;
}

void TIWForm12::IWAppFormCreate() {
  if (!allowAnalysisPage(*this)) return;
  const auto settings = web::UserSession().context().settings().get();
  fillComboWithAll(IWComboBox1, "全部考试", sessionExams());
  IWComboBox1.select(web::UserSession().defaultExam);
  fillComboWithAll(IWComboBox2, "所有学校", settings->units);
  fillComboWithAll(IWComboBox3, "全部年级", sessionGrades());
  fillComboWithAll(IWComboBox4, "所有班", settings->classes);
}

void TIWForm12::IWButton1Click() {
  if (!allowAnalysisAction()) return;
  const auto settings = web::UserSession().context().settings().get();
  const SessionSubjects subjects = SessionSubjects::current();
  ScopeFilter scope;
  scope.unlessFirst(ScopeColumn::Exam, IWComboBox1)
      .unlessFirst(ScopeColumn::Unit, IWComboBox2)
      .unlessFirst(ScopeColumn::Grade, IWComboBox3)
      .unlessFirst(ScopeColumn::Class, IWComboBox4);

  writeHeader(IWGrid1, settings->subjects);
  // One statement; the average and subject rankings are sorted from its rows.
  store::Query& query = web::UserSession().sqla;
  openRanking(query, subjects, scope);
  const analysis::RankMode mode = sessionRankMode();
  fillTotalPass(IWGrid1, query, mode);
  const RankingValues values(query, subjects);
  std::vector<RankColumn> ranks = {
      {kAverageColumn, &values.average(), rankPass(values.average(), mode)}};
  // The passes stop at a subject set up after the user signed in, which has no column.
  std::size_t s = 0;
  for (; s < settings->subjects.size(); ++s) {
    const auto* byRow = values.subject(settings->subjects[s]);
    if (!byRow) break;
    ranks.push_back({kFixedColumns + static_cast<int>(s), byRow, rankPass(*byRow, mode)});
  }
  fillRankColumns(IWGrid1, ranks);
  if (s < settings->subjects.size()) subjects.numberOf(settings->subjects[s]);  // says which
  // The grid holds what is shown; the rows need not stay in memory with the page.
  query.close();
  IWGrid1.Visible = true;
  const std::string exam = chosenText(IWComboBox1).empty() ? "全部考试" : IWComboBox1.text();
  export_ = {{"排序范围:", exam, chosenText(IWComboBox2), chosenText(IWComboBox3),
              chosenText(IWComboBox4)},
             spreadsheet::workbookName("成绩排序", {exam, chosenUnless(IWComboBox2, "所有学校"),
                                                    chosenUnless(IWComboBox3, "全部年级"),
                                                    chosenUnless(IWComboBox4, "所有班")})};
}

void TIWForm12::ExportLinkClick() {
  if (!allowAnalysisAction()) return;
  using spreadsheet::CellKind;
  // 序号, then 考号 … 考试名称 as texts; every score column as its rank and its value.
  std::vector<CellKind> kinds = {CellKind::Number};
  kinds.resize(kTotalColumn, CellKind::Text);
  kinds.resize(static_cast<std::size_t>(IWGrid1.columnCount()), CellKind::Ranked);
  sendAnalysis(export_, gridTexts(IWGrid1), kinds);
}

}  // namespace zeziza::pages

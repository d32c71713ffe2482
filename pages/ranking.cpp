#include "pages/ranking.h"

#include <string>
#include <unordered_map>
#include <utility>

#include "analysis/number_format.h"
#include "pages/analysis_access.h"
#include "pages/scope_filter.h"
#include "pages/scope_lists.h"
#include "pages/score_columns.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr int kFixedColumns = 9;  // 序号 … 平均分
constexpr int kTotalColumn = 7;
constexpr int kAverageColumn = 8;

std::string rankCell(std::size_t rank, const std::string& score) {
  return "[ " + std::to_string(rank) + " ] " + score;
}

// Finds a grid row by (考号, exam) in constant time: a search from the top for every row
// would make the ranking quadratic in the number of score rows.
class RowIndex {
 public:
  void add(std::string id, std::string exam, int row) {
    rows_.emplace(Key{std::move(id), std::move(exam)}, row);  // the first row wins
  }
  const int* find(const std::string& id, const std::string& exam) const {
    const auto it = rows_.find(Key{id, exam});
    return it == rows_.end() ? nullptr : &it->second;
  }

 private:
  using Key = std::pair<std::string, std::string>;
  struct Hash {
    std::size_t operator()(const Key& key) const {
      const std::size_t h = std::hash<std::string>{}(key.first);
      return h ^
             (std::hash<std::string>{}(key.second) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
    }
  };
  std::unordered_map<Key, int, Hash> rows_;
};

// The statement of one pass: the rows of the scope by `orderColumn`, highest first; equal
// scores keep the order in which the rows were stored.
std::string passStatement(const std::string& selectList, const std::string& orderColumn,
                          const ScopeFilter& scope) {
  return "select cj.ks as 考试名称, ks.id as 考号" + selectList + " from ks, cj where ks.bh=cj.kh" +
         scope.sql() + " order by " + orderColumn + " desc, cj.id";
}

// Total pass: one grid row per score row, every row ranked; returns the row index.
RowIndex fillTotalPass(web::Grid& grid, store::Query& query, const ScopeFilter& scope) {
  query.open(passStatement(", ks.xm as 姓名, ks.xx as 学校, ks.nj as 年级, ks.bj as 班次, "
                           "cj.zf as 总分",
                           "cj.zf", scope),
             scope.params());
  const auto& rows = query.rows();
  grid.setRowCount(static_cast<int>(rows.size()) + 1);
  RowIndex index;
  // Result columns: 考试名称 考号 姓名 学校 年级 班次 总分; grid columns 1..6: 考号 … 考试名称.
  constexpr std::size_t kGridOrder[] = {1, 2, 3, 4, 5, 0};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int r = static_cast<int>(i) + 1;
    grid.cell(r, 0).Text = std::to_string(i + 1);
    for (std::size_t c = 0; c < std::size(kGridOrder); ++c) {
      grid.cell(r, static_cast<int>(c) + 1).Text = rows[i][kGridOrder[c]].asText();
    }
    const std::string total = analysis::formatFixed(rows[i][6].asDouble(), 2);
    grid.cell(r, kTotalColumn).Text = rankCell(i + 1, total);
    index.add(rows[i][1].asText(), rows[i][0].asText(), r);
  }
  return index;
}

// Average and subject passes: rank the rows above 0 and write each rank into the row's cell.
void fillRankPass(web::Grid& grid, store::Query& query, const RowIndex& index, int column) {
  const auto& rows = query.rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const double value = rows[i][2].asDouble();
    if (value == 0) break;
    if (const int* r = index.find(rows[i][1].asText(), rows[i][0].asText())) {
      grid.cell(*r, column).Text = rankCell(i + 1, analysis::formatGeneral(value));
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
  IWGrid1.Visible = false;
}

void TIWForm12::IWAppFormCreate() {
  if (!allowAnalysisPage(*this)) return;
  const auto settings = store::settingsCache().get();
  fillComboWithAll(IWComboBox1, "全部考试", sessionExams());
  IWComboBox1.select(web::UserSession().defaultExam);
  fillComboWithAll(IWComboBox2, "所有学校", settings->units);
  fillComboWithAll(IWComboBox3, "全部年级", sessionGrades());
  fillComboWithAll(IWComboBox4, "所有班", settings->classes);
}

void TIWForm12::IWButton1Click() {
  if (!allowAnalysisAction()) return;
  const auto settings = store::settingsCache().get();
  const SessionSubjects subjects(web::UserSession().subjectColumns);
  ScopeFilter scope;
  scope.unlessFirst(ScopeColumn::Exam, IWComboBox1)
      .unlessFirst(ScopeColumn::Unit, IWComboBox2)
      .unlessFirst(ScopeColumn::Grade, IWComboBox3)
      .unlessFirst(ScopeColumn::Class, IWComboBox4);

  IWGrid1.setRowCount(0);
  IWGrid1.setColumnCount(kFixedColumns + static_cast<int>(settings->subjects.size()));
  IWGrid1.setRowCount(1);
  const char* header[] = {"序号", "考号",     "姓名", "学校",  "年级",
                          "班次", "考试名称", "总分", "平均分"};
  for (int c = 0; c < kFixedColumns; ++c) IWGrid1.cell(0, c).Text = header[c];
  for (std::size_t s = 0; s < settings->subjects.size(); ++s) {
    IWGrid1.cell(0, kFixedColumns + static_cast<int>(s)).Text = settings->subjects[s];
  }

  store::Query& query = web::UserSession().sqla;
  const RowIndex index = fillTotalPass(IWGrid1, query, scope);
  query.open(passStatement(", cj.pj as 平均分", "cj.pj", scope), scope.params());
  fillRankPass(IWGrid1, query, index, kAverageColumn);
  for (std::size_t s = 0; s < settings->subjects.size(); ++s) {
    const int position = static_cast<int>(s) + 1;
    const int number = subjects.numberOf(settings->subjects[s]);
    query.open(
        passStatement(", " + subjectColumn(number) + " as 成绩", subjectColumn(position), scope),
        scope.params());
    fillRankPass(IWGrid1, query, index, kFixedColumns + static_cast<int>(s));
  }
  IWGrid1.Visible = true;
}

}  // namespace zeziza::pages

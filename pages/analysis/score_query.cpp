#include "pages/analysis/score_query.h"

#include <algorithm>
#include <functional>
#include <initializer_list>

#include "analysis/statistics_settings.h"
#include "export/sheet_layout.h"
#include "export/workbook_file.h"
#include "pages/analysis/report_cards.h"
#include "pages/analysis/score_scale.h"
#include "pages/common/item_lists.h"
#include "pages/common/rights.h"
#include "pages/common/workbook_download.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kNoResultStatus = "---";

// The users who are offered the query: administrators (0, 1) and 普通用户 (4) land on it at
// sign-in and reach it from the navigation bar, which the other codes never see.
constexpr std::initializer_list<int> kQueryRights = {rights::kSuperAdmin, rights::kAdmin,
                                                     rights::kViewer};

std::function<void()> guarded(std::function<void()> handler) {
  return [handler = std::move(handler)] {
    if (requireRights(kQueryRights)) handler();
  };
}

// The chosen item past the first ("all"), if any.
std::optional<std::string> chosenPastFirst(const web::ComboBox& box) {
  if (box.ItemIndex <= 0) return std::nullopt;
  return box.text();
}

std::string shownText(const web::ComboBox& box) {
  return box.ItemIndex < 0 ? std::string() : box.text();
}

std::string statusText(std::size_t rows, std::size_t page, std::size_t pages) {
  return "共有" + std::to_string(rows) + "条符合条件的记录  [第" + std::to_string(page) + "页/共" +
         std::to_string(pages) + "页]";
}

int countRows(store::Query& query, const BoundStatement& statement) {
  query.open(statement.sql, statement.params);
  const int count = static_cast<int>(query.fieldAt(0, 0).asInt());
  query.close();
  return count;
}

}  // namespace

ScoreQueryPage::ScoreQueryPage() : web::Page("ScoreQueryPage") {
  Title = "Zeziza学生成绩管理系统";
  LockOnSubmit = false;
  OnCreate = [this] { onCreate(); };
  IWButton1.OnClick = guarded([this] { IWButton1Click(); });
  IWComboBox7.OnChange = guarded([this] { IWComboBox7Change(); });
  IWLink1.OnClick = guarded([this] { IWLink1Click(); });
  IWLink2.OnClick = guarded([this] { IWLink2Click(); });
  IWLink3.OnClick = guarded([this] { IWLink3Click(); });
  IWLink4.OnClick = guarded([this] { IWLink4Click(); });
  IWLink11.OnClick = guarded([this] { IWLink11Click(); });
  IWLink12.OnClick = guarded([this] { IWLink12Click(); });
  PrintCards.OnClick = guarded([this] { PrintCardsClick(); });

  IWRegion2.Css = "bar";
  IWRegion3.Css = "bar";
  IWLabel1.Caption = "查询范围";
  IWLabel1.Bold = true;
  IWLabel3.Caption = "姓名：";
  IWButton1.Caption = "查询";
  IWLabel2.Caption = "查询结果";
  IWLabel2.Bold = true;
  IWLink11.Caption = "【保存为EXCEL】";
  IWLink11.Download = true;
  IWLink12.Caption = "【查看统计信息】";
  PrintCards.Caption = "【打印成绩单】";
  IWLabel4.Caption = kNoResultStatus;
  IWLink1.Caption = "【首页】";
  IWLink2.Caption = "【上页】";
  IWLink3.Caption = "【下页】";
  IWLink4.Caption = "【末页】";
  IWLabel5.Caption = "转到第";
  IWLabel6.Caption = "页";
  IWRegion4.Visible = false;
  IWDBGrid1.RowLimit = kRowsPerPage;
  IWDBGrid1.FromStart = false;
  IWDBGrid1.Css = "qbk rowhover";
}

void ScoreQueryPage::onCreate() {
  if (!requirePageRights(*this, kQueryRights)) return;
  web::Session& session = web::currentSession();
  // No result of an earlier page is taken for this page's own, whichever way it was reached.
  session.sqla.close();
  IWDBGrid1.DataSource = &session.sqla;
  History.showFor(hasRights({rights::kSuperAdmin, rights::kAdmin}));
  fillLists();
}

void ScoreQueryPage::fillLists() {
  const web::Session& session = web::currentSession();
  const auto settings = web::currentSession().context().settings().get();
  IWComboBox4.Items = withFirst("所有班", settings->classes);
  IWComboBox4.ItemIndex = 0;
  IWComboBox2.Items = withFirst("所有学校", settings->units);
  IWComboBox2.ItemIndex = 0;
  IWComboBox1.Items = withFirst("全部考试", session.exams);
  IWComboBox1.ItemIndex = 0;
  const auto exam =
      std::find(IWComboBox1.Items.begin() + 1, IWComboBox1.Items.end(), session.defaultExam);
  if (exam != IWComboBox1.Items.end()) {
    IWComboBox1.ItemIndex = static_cast<int>(exam - IWComboBox1.Items.begin());
  }
  IWComboBox3.Items = withFirst("所有年级", session.grades);
  IWComboBox3.ItemIndex = 0;
  IWComboBox5.Items = sortItems(settings->subjects);
  IWComboBox5.ItemIndex = 0;
  IWComboBox6.Items = {"升序排列", "降序排列"};
  IWComboBox6.ItemIndex = 0;
}

ScoreQueryFilter ScoreQueryPage::chosenFilter() const {
  ScoreQueryFilter filter;
  filter.exam = chosenPastFirst(IWComboBox1);
  filter.unit = chosenPastFirst(IWComboBox2);
  filter.grade = chosenPastFirst(IWComboBox3);
  filter.className = chosenPastFirst(IWComboBox4);
  filter.name = IWEdit1.Text;
  filter.sortItem = std::max(IWComboBox5.ItemIndex, 0);
  filter.descending = IWComboBox6.ItemIndex == 1;
  return filter;
}

// The result's subject columns were named at sign-in: a subject added since has none.
bool ScoreQueryPage::hasEverySubject(const store::Query& result,
                               const std::vector<std::string>& subjects) {
  for (const auto& subject : subjects) {
    if (!result.hasField(subject)) {
      web::ShowMessage("科目“" + subject + "”是在您登录之后增加的，请重新登录后再查询。");
      return false;
    }
  }
  return true;
}

void ScoreQueryPage::IWButton1Click() {
  // Settings first: a bad threshold or band fails the search before anything changes.
  const auto settings = web::currentSession().context().settings().get();
  // Each subject's levels and bands in its own points.
  const ScoreScale scale = sessionScoreScale();
  const ScoreQueryFilter filter = chosenFilter();
  result_.reset();
  try {
    if (!search(filter, settings->subjects, scale)) return;
    fillPaging(result_->rowCount());
  } catch (...) {
    result_.reset();
    web::currentSession().sqla.close();
    showNoResult();
    throw;
  }
  searchedScope_ = {shownText(IWComboBox1), shownText(IWComboBox2), shownText(IWComboBox3),
                    shownText(IWComboBox4)};
  IWDBGrid1.Columns.clear();
  for (const auto& name : web::currentSession().sqla.fieldNames()) {
    web::DBGridColumn column;
    column.DataField = name;
    column.Title = name;
    IWDBGrid1.Columns.push_back(std::move(column));
  }
}

// Steps the search once (false when a subject has no column): its keys are kept, each subject's
// values only until its statistics are made. The columns are named on an empty read first, so that
// the statistics read the same column a whole result named after the subject would give.
bool ScoreQueryPage::search(const ScoreQueryFilter& filter, const std::vector<std::string>& subjects,
                      const ScoreScale& scale) {
  web::Session& session = web::currentSession();
  ScoreQueryResult(session.subjects, {}).read(session.sqla, 0, 0);
  if (!hasEverySubject(session.sqla, subjects)) {
    session.sqla.close();
    showNoResult();
    return false;
  }
  std::vector<std::size_t> columns;
  for (const auto& subject : subjects) columns.push_back(session.sqla.fieldIndex(subject));
  SearchPass pass = stepSearch(session.dataConnection.db(),
                               keyedScoreQueryStatement(filter, session.subjects), columns);
  const auto records = subjectRecords(
      subjects, pass.values, [&](const std::string& subject) { return scale.limits(subject); },
      [&] { return countRows(session.sql2, enrolledCountStatement(filter)); });
  IWRegion1.fill(records, scale.sharedBandCaptions(subjects));
  result_.emplace(session.subjects, std::move(pass.keys));
  return true;
}

void ScoreQueryPage::showNoResult() {
  IWDBGrid1.Columns.clear();
  IWRegion1.clear();
  IWComboBox7.Items.clear();
  IWComboBox7.ItemIndex = -1;
  IWRegion4.Visible = false;
  IWLabel4.Caption = kNoResultStatus;
}

void ScoreQueryPage::fillPaging(std::size_t rows) {
  const std::size_t pages = (rows + kRowsPerPage - 1) / kRowsPerPage;
  IWComboBox7.Items.clear();
  for (std::size_t p = 1; p <= pages; ++p) IWComboBox7.Items.push_back(std::to_string(p));
  IWComboBox7.ItemIndex = pages > 0 ? 0 : -1;
  IWRegion4.Visible = rows >= 1;
  result_->read(web::currentSession().sqla, 0, kRowsPerPage);
  IWLabel4.Caption = statusText(rows, 1, pages);
}

// The chosen page's rows are read again by key into the grid's query.
void ScoreQueryPage::IWComboBox7Change() {
  const int index = IWComboBox7.ItemIndex;
  if (!result_ || index < 0) return;
  result_->read(web::currentSession().sqla, kRowsPerPage * static_cast<std::size_t>(index),
                kRowsPerPage);
  IWLabel4.Caption = statusText(result_->rowCount(), static_cast<std::size_t>(index) + 1,
                                IWComboBox7.Items.size());
}

void ScoreQueryPage::choosePage(int index) {
  IWComboBox7.ItemIndex = index;
  IWComboBox7Change();
}

void ScoreQueryPage::IWLink1Click() {
  if (!IWComboBox7.Items.empty()) choosePage(0);
}

void ScoreQueryPage::IWLink2Click() {
  if (IWComboBox7.ItemIndex > 0) choosePage(IWComboBox7.ItemIndex - 1);
}

void ScoreQueryPage::IWLink3Click() {
  const int last = static_cast<int>(IWComboBox7.Items.size()) - 1;
  if (IWComboBox7.ItemIndex >= 0 && IWComboBox7.ItemIndex < last) {
    choosePage(IWComboBox7.ItemIndex + 1);
  }
}

void ScoreQueryPage::IWLink4Click() {
  if (!IWComboBox7.Items.empty()) choosePage(static_cast<int>(IWComboBox7.Items.size()) - 1);
}

void ScoreQueryPage::IWLink12Click() {
  if (!result_) {
    web::ShowMessage("请先进行查询，才能查看统计信息！");
    return;
  }
  IWRegion1.Visible = true;
}

// The sheet's scope row names the filters of the search that made the result, even when the
// boxes were changed since. Its rows are read again in order, a few hundred at a time.
void ScoreQueryPage::IWLink11Click() {
  if (!result_) {
    web::ShowMessage(std::string(kExportNoQueryMessage));
    return;
  }
  web::Session& session = web::currentSession();
  const auto subjects = session.context().settings().get()->subjects;
  store::Query columns(session.dataConnection);
  result_->read(columns, 0, 0);
  if (!hasEverySubject(columns, subjects)) return;
  const ScoreQueryResult& result = *result_;
  sendWorkbook([&](const auto& onPiece) { result.forEachPiece(session.dataConnection, onPiece); },
               spreadsheet::scoreQueryLayout(searchedScope_, subjects),
               spreadsheet::workbookDownloadName("成绩查询",
                                                 {searchedScope_.begin(), searchedScope_.end()}));
}

// The cards of the exam and scope chosen here, on a page of their own.
void ScoreQueryPage::PrintCardsClick() {
  web::currentSession().ShowPage<ReportCardsPage>(ReportCardScope{
      chosenPastFirst(IWComboBox1).value_or(""), chosenPastFirst(IWComboBox2).value_or(""),
      chosenPastFirst(IWComboBox3).value_or(""), chosenPastFirst(IWComboBox4).value_or("")});
}

}  // namespace zeziza::pages

#include "pages/master/roster.h"

#include "export/sheet_layout.h"
#include "export/workbook_file.h"
#include "pages/common/item_lists.h"
#include "pages/common/rights.h"
#include "pages/common/text.h"
#include "pages/common/workbook_download.h"
#include "pages/master/units.h"
#include "store/comma_text.h"
#include "store/roster_query.h"
#include "store/settings_cache.h"
#include "store/students.h"
#include "store/transaction.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kNoDeleteRights = "您没有删除学生的权限，请以合适身份登录后再试！";

// A combo's chosen filter value; its first item means "all".
std::string filterValue(const web::ComboBox& box) {
  return box.ItemIndex > 0 ? box.text() : std::string();
}

store::Database& data() {
  return web::currentSession().dataConnection.db();
}

}  // namespace

RosterPage::RosterPage() : web::Page("RosterPage") {
  Title = "学生管理";
  Filters.Css = "bar";
  Actions.Css = "bar";
  NamePartLabel.Caption = "姓名";
  IWButton2.Caption = "查询";
  IWLink1.Caption = "【增加学生】";
  IWLink2.Caption = "【将查询到的学生及其成绩全部删除】";
  IWCheckBox1.Caption = "删除学生的同时自动删除成绩信息";
  IWLink6.Caption = "【保存为EXCEL】";
  IWLink6.Visible = false;
  IWRegion4.Css = "panel";
  IWRegion4.Visible = false;
  NoticeHeading.Caption = "完成增加学生的准备工作";
  NoticeHeading.Bold = true;
  NoticeText.Lines = {"要增加学生，你需要首先设置单位、年级、班次信息。"};
  IWLink5.Caption = "×";
  IWLink7.Caption = "【点击设置单位（学校）、年级、班次设置】";
  wire();
}

void RosterPage::wire() {
  OnCreate = [this] { onCreate(); };
  IWButton2.OnClick = [this] { IWButton2Click(); };
  IWLink1.OnClick = [this] { IWLink1Click(); };
  IWLink2.OnClick = [this] { IWLink2Click(); };
  IWLink6.Download = true;
  IWLink6.OnClick = [this] { IWLink6Click(); };
  IWRegion9.IWLink4.OnClick = [this] { IWLink4Click(); };
  IWRegion9.IWButton3.OnClick = [this] { IWButton3Click(); };
  IWRegion2.IWLink3.OnClick = [this] { IWLink3Click(); };
  IWRegion2.IWButton4.OnClick = [this] { IWButton4Click(); };
  IWRegion2.IWButton1.OnClick = [this] { IWButton1Click(); };
  IWLink5.OnClick = [this] { IWLink5Click(); };
  IWLink7.OnClick = [this] { IWLink7Click(); };
  results_.IWComboBox23.OnChange = [this] { IWComboBox23Change(); };
  results_.IWLink8.OnClick = [this] { IWLink8Click(); };
  results_.IWLink9.OnClick = [this] { IWLink9Click(); };
  results_.IWLink10.OnClick = [this] { IWLink10Click(); };
  results_.IWLink11.OnClick = [this] { IWLink11Click(); };
}

void RosterPage::onCreate() {
  auto& session = web::currentSession();
  const auto settings = web::currentSession().context().settings().get();
  const auto grades = session.grades;
  IWComboBox7.Items = withFirst("所有学校", settings->units);
  IWComboBox8.Items = withFirst("全部年级", grades);
  IWComboBox9.Items = withFirst("所有班", settings->classes);
  for (auto* box : {&IWComboBox7, &IWComboBox8, &IWComboBox9}) box->ItemIndex = 0;
  IWRegion9.fill(settings->units, grades, settings->classes);
  IWRegion2.fill(settings->units, grades, settings->classes);
  if (session.rights == rights::kViewer) {
    for (web::Control* c : std::initializer_list<web::Control*>{&IWLink1, &IWLink2, &IWCheckBox1}) {
      c->Visible = false;
    }
  }
  results_.bind(
      session.sqla, [this](const std::string& bh) { IWDBGrid2Columns5Click(bh); },
      [this](const std::string& bh) { IWDBGrid2Columns6Click(bh); });
}

void RosterPage::IWButton2Click() {
  const store::RosterFilter filter{filterValue(IWComboBox7), filterValue(IWComboBox8),
                                   filterValue(IWComboBox9), trimmed(IWEdit12.Text)};
  results_.run(store::rosterStatement(filter));
  IWLink6.Visible = true;
  askBeforeRemovingAll();
}

// The question before 【将查询到的学生及其成绩全部删除】 says how many students go.
void RosterPage::askBeforeRemovingAll() {
  const std::size_t found = results_.hasRun() ? results_.query().recordCount() : 0;
  IWLink2.Confirmation =
      "您确定要删除查询到的" + std::to_string(found) + "名学生及其全部成绩吗？此操作不能撤销。";
}

void RosterPage::IWLink1Click() {
  const bool placesSet = !IWRegion9.IWComboBox10.Items.empty() &&
                         !IWRegion9.IWComboBox12.Items.empty() && IWComboBox8.Items.size() > 1;
  if (placesSet) {
    IWRegion9.Visible = true;
  } else {
    IWRegion4.Visible = true;
  }
}

void RosterPage::IWLink7Click() {
  web::currentSession().pageType = 7;
  web::currentSession().ShowPage<UnitsPage>();
}

void RosterPage::IWDBGrid2Columns5Click(const std::string& bh) {
  if (!hasRights({0, 1})) return web::ShowMessage(kNoDeleteRights);
  const auto key = exactInteger<std::int64_t>(bh);
  if (!key || !results_.findStudent(*key)) return;
  if (!store::removeStudent(data(), *key, IWCheckBox1.Checked)) {
    return web::ShowMessage(
        "该学生还存在成绩信息，请手动删除成绩或勾选“删除学生的同时自动删除成绩信息”选框后再试！");
  }
  results_.rerun(results_.currentPage());
  askBeforeRemovingAll();
}

void RosterPage::IWDBGrid2Columns6Click(const std::string& bh) {
  if (!hasRights({0, 1, 2})) {
    return web::ShowMessage("您没有修改学生的权限，请以合适身份登录后再试！");
  }
  const auto key = exactInteger<std::int64_t>(bh);
  const auto row = key ? results_.findStudent(*key) : std::nullopt;
  if (row) IWRegion2.open(results_.query(), *row);
}

void RosterPage::IWButton1Click() {
  if (!IWRegion2.save()) return;
  results_.rerun(1);
  askBeforeRemovingAll();
}

void RosterPage::IWLink2Click() {
  if (!hasRights({0, 1})) return web::ShowMessage(kNoDeleteRights);
  if (!IWCheckBox1.Checked) {
    return web::ShowMessage("您需要勾选“删除学生的同时自动删除成绩信息”选框后，才能执行此操作！");
  }
  if (!results_.hasRun()) return;
  const auto& result = results_.query();
  const std::size_t column = result.fieldIndex("bh");
  std::vector<std::int64_t> keys;
  for (const auto& row : result.rows()) keys.push_back(row[column].asInt());
  store::removeStudents(data(), keys);
  results_.rerun(1);
  askBeforeRemovingAll();
  web::ShowMessage("已删除" + std::to_string(keys.size()) + "名学生及其成绩");
}

// The spreadsheet of the result is answered here once the export is built.
void RosterPage::IWLink6Click() {
  sendWorkbook(web::currentSession().sqla, spreadsheet::rosterLayout(),
               spreadsheet::workbookDownloadName("学生名单", {}));
}

}  // namespace zeziza::pages

#include "pages/master/roster.h"

#include "export/sheet_layout.h"
#include "export/workbook_file.h"
#include "pages/common/navigation.h"
#include "pages/common/page_rights.h"
#include "pages/common/rights.h"
#include "pages/common/session_data.h"
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

}  // namespace

RosterPage::RosterPage() : web::Page(kName) {
  Title = "学生管理";
  Filters.Css = "bar";
  Actions.Css = "bar";
  NamePartLabel.Caption = "姓名";
  queryButton.Caption = "查询";
  addStudentsLink.Caption = "【增加学生】";
  deleteAllLink.Caption = "【将查询到的学生及其成绩全部删除】";
  deleteScoresBox.Caption = "删除学生的同时自动删除成绩信息";
  exportLink.Caption = "【保存为EXCEL】";
  exportLink.Visible = false;
  noticePanel.Css = "panel";
  noticePanel.Visible = false;
  NoticeHeading.Caption = "完成增加学生的准备工作";
  NoticeHeading.Bold = true;
  NoticeText.Lines = {"要增加学生，你需要首先设置单位、年级、班次信息。"};
  closeNoticeLink.Caption = "×";
  unitsLink.Caption = "【点击设置单位（学校）、年级、班次设置】";
  wire();
}

void RosterPage::wire() {
  OnCreate = [this] { onCreate(); };
  queryButton.OnClick = [this] { onQuery(); };
  addStudentsLink.OnClick = [this] { onAddStudents(); };
  deleteAllLink.OnClick = [this] { onDeleteAll(); };
  exportLink.Download = true;
  exportLink.OnClick = [this] { onExport(); };
  addPanel.addCloseLink.OnClick = [this] { onCloseAdd(); };
  addPanel.addButton.OnClick = [this] { onSaveNewStudents(); };
  changePanel.changeCloseLink.OnClick = [this] { onCloseChange(); };
  changePanel.cancelChangeButton.OnClick = [this] { onCancelChange(); };
  changePanel.saveChangeButton.OnClick = [this] { onSaveChange(); };
  closeNoticeLink.OnClick = [this] { onCloseNotice(); };
  unitsLink.OnClick = [this] { onUnits(); };
}

void RosterPage::onCreate() {
  if (!requirePageRights(*this, page_rights::kRoster)) return;
  auto& session = web::currentSession();
  const auto settings = web::currentSession().context().settings().get();
  const auto grades = session.login.grades;
  scopeBoxes.fill();
  addPanel.fill(settings->units, grades, settings->classes);
  changePanel.fill(settings->units, grades, settings->classes);
  // Viewers and class teachers look the roster up; they change nobody.
  if (hasRights({rights::kViewer, rights::kClassTeacher})) {
    for (web::Control* c :
         std::initializer_list<web::Control*>{&addStudentsLink, &deleteAllLink, &deleteScoresBox}) {
      c->Visible = false;
    }
  }
  results_.bind(
      session.dataConnection, [this](const std::string& bh) { onDeleteStudent(bh); },
      [this](const std::string& bh) { onChangeStudent(bh); });
}

void RosterPage::onQuery() {
  if (!requireRights(page_rights::kRoster)) return;
  const store::RosterFilter filter{scopeBoxes.scope(), trimmed(namePartEdit.Text)};
  results_.run(filter);
  exportLink.Visible = true;
  askBeforeRemovingAll();
}

// The question before 【将查询到的学生及其成绩全部删除】 says how many students go.
void RosterPage::askBeforeRemovingAll() {
  const std::size_t found = results_.keys().size();
  deleteAllLink.Confirmation =
      "您确定要删除查询到的" + std::to_string(found) + "名学生及其全部成绩吗？此操作不能撤销。";
}

void RosterPage::onAddStudents() {
  const bool placesSet = !addPanel.addUnitBox.Items.empty() &&
                         !addPanel.addClassBox.Items.empty() && gradeBox.Items.size() > 1;
  if (placesSet) {
    addPanel.Visible = true;
  } else {
    noticePanel.Visible = true;
  }
}

void RosterPage::onUnits() {
  showEntry<UnitsPage>();
}

void RosterPage::onDeleteStudent(const std::string& bh) {
  if (!hasRights({0, 1})) return web::ShowMessage(kNoDeleteRights);
  const auto key = exactInteger<std::int64_t>(bh);
  if (!key || !results_.findStudent(*key)) return;
  if (!store::removeStudent(data(), *key, deleteScoresBox.Checked)) {
    return web::ShowMessage(
        "该学生还存在成绩信息，请手动删除成绩或勾选“删除学生的同时自动删除成绩信息”选框后再试！");
  }
  results_.rerun(results_.currentPage());
  askBeforeRemovingAll();
}

void RosterPage::onChangeStudent(const std::string& bh) {
  if (!hasRights({0, 1, 2})) {
    return web::ShowMessage("您没有修改学生的权限，请以合适身份登录后再试！");
  }
  const auto key = exactInteger<std::int64_t>(bh);
  const auto row = key ? results_.findStudent(*key) : std::nullopt;
  if (row) changePanel.open(results_.shownRows(), *row);
}

void RosterPage::onSaveChange() {
  if (!changePanel.save()) return;
  results_.rerun(1);
  askBeforeRemovingAll();
}

void RosterPage::onDeleteAll() {
  if (!hasRights({0, 1})) return web::ShowMessage(kNoDeleteRights);
  if (!deleteScoresBox.Checked) {
    return web::ShowMessage("您需要勾选“删除学生的同时自动删除成绩信息”选框后，才能执行此操作！");
  }
  if (!results_.hasRun()) return;
  const std::size_t removed = results_.keys().size();
  store::removeStudents(data(), results_.keys());
  results_.rerun(1);
  askBeforeRemovingAll();
  web::ShowMessage("已删除" + std::to_string(removed) + "名学生及其成绩");
}

// The spreadsheet of the result is answered here once the export is built; its rows are read
// again by key, a few hundred at a time.
void RosterPage::onExport() {
  if (!requireRights(page_rights::kRoster)) return;
  if (!results_.hasRun()) return web::ShowMessage(std::string(kExportNoQueryMessage));
  sendWorkbook([this](const auto& onPiece) { results_.forEachPiece(onPiece); },
               spreadsheet::rosterLayout(), spreadsheet::workbookDownloadName("学生名单", {}));
}

}  // namespace zeziza::pages

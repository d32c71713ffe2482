#include "pages/system/accounts.h"

#include "analysis/averages.h"
#include "analysis/ranks.h"
#include "analysis/statistics_settings.h"
#include "pages/common/rights.h"
#include "store/comma_text.h"
#include "store/scale_settings.h"
#include "store/settings.h"
#include "store/users.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

std::string listedName(const store::Query& users, std::size_t row) {
  return users.fieldAt(row, users.fieldIndex("用户名")).asText();
}

// Names the user; deleting the only super administrator says what follows from it.
std::string removalQuestion(const store::Query& users, std::size_t row) {
  const auto rights = users.fieldIndex("权限");
  const std::string name = listedName(users, row);
  const std::string superAdmin(roleName(rights::kSuperAdmin));
  std::size_t superAdmins = 0;
  for (std::size_t i = 0; i < users.recordCount(); ++i) {
    if (users.fieldAt(i, rights).asText() == superAdmin) ++superAdmins;
  }
  if (users.fieldAt(row, rights).asText() == superAdmin && superAdmins == 1) {
    return "“" + name +
           "”是唯一的超级管理员。删除后任何人都可以在登录页创建新的超级管理员，确定删除吗？";
  }
  return "确定删除用户“" + name + "”？";
}

}  // namespace

AccountsPage::AccountsPage() : web::Page(kName) {
  Title = "用户及系统设置";
  Content.Css = "accounts";
  buildUserPanels();
  buildSettingsPanels();
  OnCreate = [this] { onCreate(); };
}

void AccountsPage::buildUserPanels() {
  LeftHalf.Css = "accounts-left";
  UsersPanel.Css = "card";
  usersLabel.Caption = "用户设置";
  usersLabel.Bold = true;
  newUserLink.Caption = "【创建新用户】";
  newUserLink.OnClick = [this] { onNewUser(); };
  UserList.Css = "user-list";
  web::DBGridColumn remove{"删除用户",
                           "删除用户",
                           "用户名",
                           [this](const std::string& name) { onDeleteUser(name); },
                           {}};
  remove.Confirmation = removalQuestion;
  web::DBGridColumn edit{"修改权限",
                         "修改权限",
                         "用户名",
                         [this](const std::string& name) { onEditRights(name); },
                         {}};
  web::DBGridColumn reset{"重置密码",
                          "重置密码",
                          "用户名",
                          [this](const std::string& name) { onResetPassword(name); },
                          {}};
  reset.Confirmation = [](const store::Query& users, std::size_t row) {
    return "确定为用户“" + listedName(users, row) + "”重置密码？";
  };
  usersGrid.Columns = {{"用户名", "用户名", "", nullptr, {}},
                       {"权限", "权限", "", nullptr, {}},
                       {"班级", "班级", "", nullptr, {}},
                       edit,
                       reset,
                       remove};
  rightsLabel.Caption = "权限代码含义";
  rightsLabel.Bold = true;
  rightsText.Lines = {"0. 超级管理员：除成绩录入外的所有权限",
                      "1. 管理员：除成绩录入、考试用户设置外的所有权限",
                      "2. 主管：录入及修改学生成绩",
                      "3. 成绩录入员：录入学生成绩，但不能修改成绩",
                      "4. 普通用户：查询成绩信息，但不能修改信息。",
                      "5. 班主任：录入及修改本班学生成绩"};

  newUserPanel.Css = "card create-user";
  newUserPanel.Visible = false;
  closeNewUserLink.Caption = "×";
  closeNewUserLink.OnClick = [this] { onCloseNewUser(); };
  newUserLabel.Caption = "创建新用户";
  newUserLabel.Bold = true;
  for (web::Region* row : {&TypeRow, &NameRow, &PasswordRow, &RepeatRow}) row->Css = "row";
  typeLabel.Caption = "用户类型";
  typeBox.Items = {"超级管理员", "管理员", "主管", "成绩录入员", "普通用户", "班主任"};
  typeBox.ItemIndex = 0;
  typeBox.OnChange = [this] { onTypeChosen(); };
  userNameLabel.Caption = "用  户  名";
  passwordLabel.Caption = "密       码";
  passwordEdit.PasswordPrompt = true;
  repeatLabel.Caption = "重复密码";
  repeatEdit.PasswordPrompt = true;
  addUserButton.Caption = "添加新用户";
  addUserButton.OnClick = [this] { onAddUser(); };
  classPanel.Visible = false;
  classLabel.Caption = "班主任管理班级";
}

void AccountsPage::buildSettingsPanels() {
  RightHalf.Css = "accounts-right";
  for (web::Region* panel : {&ModePanel, &ExamPanel, &ResetPanel, &BannerPanel, &FooterPanel}) {
    panel->Css = "card";
  }
  for (web::Label* title : {&modeLabel, &RankLabel, &rateBasisLabel, &averageBasisLabel, &examLabel,
                            &resetLabel, &bannerLabel, &footerLabel}) {
    title->Bold = true;
  }
  modeLabel.Caption = "系统模式";
  modeBox.Items = {std::string(store::kWorkModeUnified), std::string(store::kWorkModeSelf)};
  modeBox.OnChange = [this] { onModeChosen(); };
  modeHelp.Lines = {
      "统考模式和自考模式的区别在于:", "统考模式下班主任类型的用户将不能登录系统;",
      "自考模式下班主任可以录入和修改本班在当前测试中的成绩。",
      "比率口径：分段时及格率只计及格线至良好线之间，累计时计及格线及以上（良好率同理）;",
      "平均分口径：参考科目按所考科目平均，全部科目时缺考科目按0分计。"};
  examLabel.Caption = "选择默认考试项目";
  examBox.OnChange = [this] { onExamChosen(); };
  examHelp.Lines = {"当前成绩录入均为录入到默认考试项目下。新增考试将自动设置", "为默认考试。"};
  RankLabel.Caption = "　名次方式";
  RankMode.Items = {std::string(analysis::kSequentialRanksText),
                    std::string(analysis::kSharedRanksText)};
  RankMode.OnChange = [this] { onRankModeChosen(); };
  rateBasisLabel.Caption = "比率口径";
  RateBasis.Items = {std::string(analysis::kBandRatesText),
                     std::string(analysis::kCumulativeRatesText)};
  RateBasis.OnChange = [this] { onRateBasisChosen(); };
  averageBasisLabel.Caption = "　平均分口径";
  AverageBasis.Items = {std::string(analysis::kSubjectsSatText),
                        std::string(analysis::kAllSubjectsText)};
  AverageBasis.OnChange = [this] { onAverageBasisChosen(); };
  resetLabel.Caption = "恢复初始数据";
  resetButton.Caption = "系统数据重置";
  resetButton.OnClick = [this] { onReset(); };
  resetHelp.Lines = {"如果需要重置系统，删除所有数据和用户，请在后面的文本框输入“确认”或“yes”",
                     "然后点击系统数据重置按钮。"};
  bannerLabel.Caption = "设置网站横幅";
  bannerButton.Caption = "上传网站横幅";
  bannerButton.OnClick = [this] { onUploadBanner(); };
  bannerHelp.Lines = {"此处上传网页顶部的网站横幅图片，上传图片格式必须为",
                      "高度为50像素的jpg格式图片。"};
  footerLabel.Caption = "网页底部文字";
  saveFooterButton.Caption = "保存";
  saveFooterButton.OnClick = [this] { onSaveFooter(); };
  footerHelp.Lines = {"此处设置网页底部的显示文字，如学校名称，网站备案号等信息。"};
}

void AccountsPage::onCreate() {
  if (!requirePageRights(*this, {rights::kSuperAdmin})) return;
  web::Session& session = web::currentSession();
  reloadUserList();
  modeBox.select(session.login.workMode);
  examBox.Items = session.login.exams;
  examBox.select(session.login.defaultExam);
  RankMode.select(std::string(analysis::rankModeText(
      analysis::parseRankMode(store::readRankModeText(session.dataConnection.db())))));
  RateBasis.select(std::string(analysis::rateBasisText(
      analysis::parseRateBasis(store::readRateBasisText(session.dataConnection.db())))));
  AverageBasis.select(std::string(analysis::averageBasisText(
      analysis::parseAverageBasis(store::readAverageBasisText(session.dataConnection.db())))));
  footerEdit.Text = session.login.footerText;
}

// Every row of `yh`; the third column's constant text is each row's delete link.
void AccountsPage::reloadUserList() {
  std::vector<std::string> roles;
  for (int code = rights::kSuperAdmin; code <= rights::kClassTeacher; ++code) {
    roles.emplace_back(roleName(code));
  }
  const store::BoundStatement users = store::userListStatement(roles);
  users_.open(users.sql, users.params);
  usersGrid.DataSource = &users_;
}

}  // namespace zeziza::pages

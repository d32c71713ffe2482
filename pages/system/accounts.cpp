#include "pages/system/accounts.h"

#include "analysis/ranks.h"
#include "pages/common/rights.h"
#include "store/comma_text.h"
#include "store/scale_settings.h"
#include "store/settings.h"
#include "store/users.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

// Names the user; deleting the only super administrator says what follows from it.
std::string removalQuestion(const store::Query& users, std::size_t row) {
  const auto rights = users.fieldIndex("权限");
  const std::string name = users.fieldAt(row, users.fieldIndex("用户名")).asText();
  std::size_t superAdmins = 0;
  for (std::size_t i = 0; i < users.recordCount(); ++i) {
    if (users.fieldAt(i, rights).asText() == "0") ++superAdmins;
  }
  if (users.fieldAt(row, rights).asText() == "0" && superAdmins == 1) {
    return "“" + name +
           "”是唯一的超级管理员。删除后任何人都可以在登录页创建新的超级管理员，确定删除吗？";
  }
  return "确定删除用户“" + name + "”？";
}

}  // namespace

AccountsPage::AccountsPage() : web::Page("AccountsPage") {
  Title = "用户及系统设置";
  Content.Css = "accounts";
  buildUserPanels();
  buildSettingsPanels();
  OnCreate = [this] { onCreate(); };
}

void AccountsPage::buildUserPanels() {
  LeftHalf.Css = "accounts-left";
  UsersPanel.Css = "card";
  IWLabel1.Caption = "用户设置";
  IWLabel1.Bold = true;
  IWLink1.Caption = "【创建新用户】";
  IWLink1.OnClick = [this] { IWLink1Click(); };
  UserList.Css = "user-list";
  web::DBGridColumn remove{"删除用户",
                           "删除用户",
                           "用户名",
                           [this](const std::string& name) { IWDBGrid5Columns2Click(name); },
                           {}};
  remove.Confirmation = removalQuestion;
  IWDBGrid5.Columns = {
      {"用户名", "用户名", "", nullptr, {}}, {"权限", "权限", "", nullptr, {}}, remove};
  IWLabel2.Caption = "权限代码含义";
  IWLabel2.Bold = true;
  IWText1.Lines = {"0. 超级管理员：除成绩录入外的所有权限",
                   "1. 管理员：除成绩录入、考试用户设置外的所有权限",
                   "2. 主管：录入及修改学生成绩",
                   "3. 成绩录入员：录入学生成绩，但不能修改成绩",
                   "4. 普通用户：查询成绩信息，但不能修改信息。",
                   "5. 班主任：录入及修改本班学生成绩"};

  IWRegion1.Css = "card create-user";
  IWRegion1.Visible = false;
  IWLink5.Caption = "×";
  IWLink5.OnClick = [this] { IWLink5Click(); };
  IWLabel3.Caption = "创建新用户";
  IWLabel3.Bold = true;
  for (web::Region* row : {&TypeRow, &NameRow, &PasswordRow, &RepeatRow}) row->Css = "row";
  IWLabel4.Caption = "用户类型";
  IWComboBox2.Items = {"超级管理员", "管理员", "主管", "成绩录入员", "普通用户", "班主任"};
  IWComboBox2.ItemIndex = 0;
  IWComboBox2.OnChange = [this] { IWComboBox2Change(); };
  IWLabel5.Caption = "用  户  名";
  IWLabel6.Caption = "密       码";
  IWEdit16.PasswordPrompt = true;
  IWLabel7.Caption = "重复密码";
  IWEdit20.PasswordPrompt = true;
  IWButton7.Caption = "添加新用户";
  IWButton7.OnClick = [this] { IWButton7Click(); };
  IWRegion4.Visible = false;
  IWLabel8.Caption = "班主任管理班级";
}

void AccountsPage::buildSettingsPanels() {
  RightHalf.Css = "accounts-right";
  for (web::Region* panel : {&ModePanel, &ExamPanel, &ResetPanel, &BannerPanel, &FooterPanel}) {
    panel->Css = "card";
  }
  for (web::Label* title :
       {&IWLabel9, &RankLabel, &IWLabel10, &IWLabel11, &IWLabel12, &IWLabel13}) {
    title->Bold = true;
  }
  IWLabel9.Caption = "系统模式";
  IWComboBox33.Items = {std::string(store::kWorkModeUnified), std::string(store::kWorkModeSelf)};
  IWComboBox33.OnChange = [this] { IWComboBox33Change(); };
  IWText2.Lines = {"统考模式和自考模式的区别在于:", "统考模式下班主任类型的用户将不能登录系统;",
                   "自考模式下班主任可以录入和修改本班在当前测试中的成绩。"};
  IWLabel10.Caption = "选择默认考试项目";
  IWComboBox1.OnChange = [this] { IWComboBox1Change(); };
  IWText3.Lines = {"当前成绩录入均为录入到默认考试项目下。新增考试将自动设置", "为默认考试。"};
  RankLabel.Caption = "　名次方式";
  RankMode.Items = {std::string(analysis::kSequentialRanksText),
                    std::string(analysis::kSharedRanksText)};
  RankMode.OnChange = [this] { RankModeChange(); };
  IWLabel11.Caption = "恢复初始数据";
  IWButton3.Caption = "系统数据重置";
  IWButton3.OnClick = [this] { IWButton3Click(); };
  IWText4.Lines = {"如果需要重置系统，删除所用数据和用户，请在后面的文本框输入“yes”",
                   "然后点击系统数据重置按钮。"};
  IWLabel12.Caption = "设置网站横幅[banners]";
  IWButton2.Caption = "上传网站横幅[banners]";
  IWButton2.OnClick = [this] { IWButton2Click(); };
  IWText5.Lines = {"此处上传网页顶部的网站横幅图片，上传图片格式必须为",
                   "高度为50像素的jpg格式图片。"};
  IWLabel13.Caption = "网页底部文字";
  IWButton1.Caption = "保存";
  IWButton1.OnClick = [this] { IWButton1Click(); };
  IWText6.Lines = {"此处设置网页底部的显示文字，如学校名称，网站备案号等信息。"};
}

void AccountsPage::onCreate() {
  if (!requirePageRights(*this, {rights::kSuperAdmin})) return;
  web::Session& session = web::currentSession();
  reloadUserList();
  session.tem.close();
  IWComboBox33.select(session.workMode);
  IWComboBox1.Items = session.exams;
  IWComboBox1.select(session.defaultExam);
  RankMode.select(std::string(analysis::rankModeText(
      analysis::parseRankMode(store::readRankModeText(session.dataConnection.db())))));
  IWEdit1.Text = session.footerText;
}

// Every row of `yh`; the third column's constant text is each row's delete link.
void AccountsPage::reloadUserList() {
  web::Session& session = web::currentSession();
  const store::BoundStatement users = store::userListStatement();
  session.sqla.open(users.sql, users.params);
  IWDBGrid5.DataSource = &session.sqla;
}

}  // namespace zeziza::pages

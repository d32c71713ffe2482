#include "pages/signin/login.h"

#include "pages/analysis/score_query.h"
#include "pages/common/rights.h"
#include "pages/common/text.h"
#include "pages/entry/score_entry.h"
#include "pages/signin/credentials.h"
#include "pages/signin/login_state.h"
#include "store/banner_file.h"
#include "store/settings.h"
#include "store/users.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kWrongLogin = "用户名或密码错误！";
constexpr const char* kNoDefaultExam = "尚未设置默认考试项目，请先设置考试项目后再录入成绩！";
constexpr const char* kUnifiedModeRefusal = "统考模式下您不能登录";

}  // namespace

LoginPage::LoginPage() : web::Page("LoginPage") {
  Title = "系统登录";
  // Both forms post every field with each click; the rest is made again from the store.
  SetAsideWhenIdle = true;
  LoginArea.Css = "login-area";
  signInPanel.Css = "card login-panel";
  titleLabel.Caption = "系 统 登 录";
  titleLabel.Bold = true;
  NameRow.Css = "row";
  userNameLabel.Caption = "用户名";
  // Enter moves from the name to the password, then to the login button.
  userNameEdit.EnterKey = web::KeyAction::focus(passwordEdit, true);
  PasswordRow.Css = "row";
  passwordLabel.Caption = "密   码";
  passwordEdit.PasswordPrompt = true;
  passwordEdit.EnterKey = web::KeyAction::click(signInButton);  // Enter after the password signs in
  signInButton.Caption = "登录";
  NoteBox.Css = "note-box";
  noteLabel.Caption = "登录说明";
  noteLabel.Bold = true;
  noteText.Lines = {"以不同权限用户名登录将进入不同页面", "录入成绩需要以成绩录入员或主管的用",
                    "户名登录系统", "建议使用较新版本的浏览器浏览本站内容"};

  firstAdminPanel.Css = "card first-admin";
  firstAdminPanel.Visible = false;
  firstAdminLabel.Caption = "建立初始用户[超级管理员]";
  firstAdminLabel.Bold = true;
  firstAdminText.Lines = {"系统没有检测到超级管理员用户。请先建立一个超级管理员用户",
                          "以登录系统，登录系统后您可以建立具有不同权限的多个用户。"};
  AdminNameRow.Css = "row";
  adminNameLabel.Caption = "用 户 名";
  AdminPasswordRow.Css = "row";
  adminPasswordLabel.Caption = "密     码";
  adminPasswordEdit.PasswordPrompt = true;
  AdminRepeatRow.Css = "row";
  adminRepeatLabel.Caption = "重复密码";
  adminRepeatEdit.PasswordPrompt = true;
  createAdminButton.Caption = "确定";

  keepAliveTimer.Interval = 500000;
  OnCreate = [this] { onCreate(); };
  signInButton.OnClick = [this] { onSignIn(); };
  createAdminButton.OnClick = [this] { onCreateAdmin(); };
}

void LoginPage::onCreate() {
  web::Session& session = web::currentSession();
  store::Database& db = session.dataConnection.db();
  bannerImage.Source = store::bannerAddress(session.dataFolder().files());
  session.login.footerText = store::readSetting(db, store::key::kFooterText);
  footer.showText(session.login.footerText);
  firstAdminPanel.Visible = !store::hasSuperAdmin(db);
  setFocus(firstAdminPanel.Visible ? adminNameEdit : userNameEdit);
}

void LoginPage::onSignIn() {
  const auto [user, lockedFor] = verifyCredentials(userNameEdit.Text, passwordEdit.Text);
  recordSignIn(userNameEdit.Text, user.has_value());
  if (!user) {
    web::ShowMessage(lockedFor.count() > 0 ? lockedMessage(lockedFor) : kWrongLogin);
    return;
  }
  fillLoginState(web::currentSession(), user->name, user->rightsCode);
  routeSignedInUser();
}

void LoginPage::routeSignedInUser() {
  web::Session& session = web::currentSession();
  const auto code = sessionRights();
  if (!code) throw std::runtime_error("用户 " + session.login.userName + " 的权限代码无效。");
  switch (*code) {
    case rights::kSuperAdmin:
    case rights::kAdmin:
    case rights::kViewer:
      session.ShowPage<ScoreQueryPage>();
      return;
    case rights::kClassTeacher:
      if (session.login.workMode == store::kWorkModeUnified) {
        web::ShowMessage(kUnifiedModeRefusal);
        return;
      }
      [[fallthrough]];
    case rights::kSupervisor:
    case rights::kClerk:
      if (session.login.defaultExam.empty()) {
        web::ShowMessage(kNoDefaultExam);
        return;
      }
      session.ShowPage<ScoreEntryPage>();
      return;
    default:
      return;
  }
}

void LoginPage::onCreateAdmin() {
  const std::string name = trimmed(adminNameEdit.Text);
  if (name.empty()) {
    web::ShowMessage("用户名不能为空");
    return;
  }
  if (adminPasswordEdit.Text != adminRepeatEdit.Text) {
    web::ShowMessage("重复密码错误");
    return;
  }
  const std::string password = trimmed(adminPasswordEdit.Text);
  if (passwordTooShort(password)) {
    web::ShowMessage(kPasswordTooShort);
    return;
  }
  const store::NewUser admin{name, hashPassword(password), rights::kSuperAdmin, {}, {}, {}};
  switch (store::addUser(web::currentSession().dataConnection.db(), admin, true)) {
    case store::AddUserResult::Added:
      web::ShowMessage("创建用户成功，请使用新创建的用户登录!");
      firstAdminPanel.Visible = false;
      setFocus(userNameEdit);
      return;
    case store::AddUserResult::NameTaken:
      web::ShowMessage("该用户名已存在，请使用其它用户名！");
      return;
    case store::AddUserResult::SuperAdminExists:
      web::ShowMessage("系统中已有超级管理员，请使用其用户名登录。");
      firstAdminPanel.Visible = false;
      setFocus(userNameEdit);
      return;
  }
}

}  // namespace zeziza::pages

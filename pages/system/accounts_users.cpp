// The user half of the accounts page: list, create, change rights, reset password, delete.
#include "auth/random_password.h"
#include "pages/common/rights.h"
#include "pages/common/text.h"
#include "pages/signin/credentials.h"
#include "pages/system/accounts.h"
#include "store/comma_text.h"
#include "store/settings_cache.h"
#include "store/users.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

void fillChoices(web::ComboBox& combo, std::vector<std::string> items) {
  combo.Items = std::move(items);
  combo.ItemIndex = combo.Items.empty() ? -1 : 0;
}

}  // namespace

void AccountsPage::onNewUser() {
  if (!requireRights({rights::kSuperAdmin})) return;
  showNewUserPanel();
}

void AccountsPage::showNewUserPanel() {
  editedUser_.clear();
  newUserLabel.Caption = "创建新用户";
  userNameEdit.Enabled = true;
  userNameEdit.Text.clear();
  PasswordRow.Visible = true;
  RepeatRow.Visible = true;
  addUserButton.Caption = "添加新用户";
  newUserPanel.Visible = true;
}

void AccountsPage::onCloseNewUser() {
  newUserPanel.Visible = false;
}

// A class teacher is bound to one unit, grade and class.
void AccountsPage::onTypeChosen() {
  if (!requireRights({rights::kSuperAdmin})) return;
  if (typeBox.ItemIndex != rights::kClassTeacher) {
    classPanel.Visible = false;
    return;
  }
  const auto settings = web::currentSession().context().settings().get();
  fillChoices(unitBox, settings->units);
  fillChoices(gradeBox, web::currentSession().login.grades);
  fillChoices(classBox, settings->classes);
  classPanel.Visible = true;
}

bool AccountsPage::chosenTypeAndScope(store::NewUser& user) {
  if (typeBox.ItemIndex < 0) {
    web::ShowMessage("请选择用户类型！");
    return false;
  }
  user.rightsCode = typeBox.ItemIndex;
  if (user.rightsCode != rights::kClassTeacher) return true;
  if (!classPanel.Visible || unitBox.ItemIndex < 0 || gradeBox.ItemIndex < 0 ||
      classBox.ItemIndex < 0) {
    web::ShowMessage("请选择班主任管理的单位、年级和班次！如列表为空，请先在单位设置中添加。");
    return false;
  }
  user.unit = unitBox.text();
  user.grade = gradeBox.text();
  user.className = classBox.text();
  return true;
}

void AccountsPage::onAddUser() {
  if (!requireRights({rights::kSuperAdmin})) return;
  if (!editedUser_.empty()) {
    onSaveRights();
    return;
  }
  store::NewUser user;
  user.name = trimmed(userNameEdit.Text);
  if (user.name.empty()) {
    web::ShowMessage("用户名不能为空");
    return;
  }
  if (passwordEdit.Text != repeatEdit.Text) {
    web::ShowMessage("重复密码错误");
    return;
  }
  const std::string password = trimmed(passwordEdit.Text);
  if (passwordTooShort(password)) {
    web::ShowMessage(kPasswordTooShort);
    return;
  }
  store::Database& db = web::currentSession().dataConnection.db();
  // Checked again when the row is added; this spares the hash for a name in use.
  if (store::findUser(db, user.name)) {
    web::ShowMessage("该用户名已存在，请使用其它用户名！");
    return;
  }
  if (!chosenTypeAndScope(user)) return;
  user.passwordHash = hashPassword(password);
  if (store::addUser(db, user, false) == store::AddUserResult::NameTaken) {
    web::ShowMessage("该用户名已存在，请使用其它用户名！");
    return;
  }
  reloadUserList();
  newUserPanel.Visible = false;
  web::ShowMessage("已创建用户“" + user.name + "”");
}

void AccountsPage::onDeleteUser(const std::string& userName) {
  if (!requireRights({rights::kSuperAdmin})) return;
  web::Session& session = web::currentSession();
  store::deleteUser(session.dataConnection.db(), userName);
  // After the row is gone: a request of that account from now on finds it gone.
  session.context().accountsChanged();
  warnIfNoSuperAdmin();
  reloadUserList();
}

void AccountsPage::warnIfNoSuperAdmin() {
  if (store::hasSuperAdmin(web::currentSession().dataConnection.db())) return;
  web::ShowMessage(
      "您删除了唯一的一个超级管理员用户，请及时添加新的超级管理员！，否则任何人都可以在登录页重新"
      "创建新的超级管理员账户");
  showNewUserPanel();
}

void AccountsPage::onEditRights(const std::string& userName) {
  if (!requireRights({rights::kSuperAdmin})) return;
  store::Database& db = web::currentSession().dataConnection.db();
  const auto user = store::findUser(db, userName);
  if (!user) {
    web::ShowMessage("用户“" + userName + "”已不存在。");
    reloadUserList();
    return;
  }
  showNewUserPanel();
  editedUser_ = user->name;
  newUserLabel.Caption = "修改用户权限";
  userNameEdit.Text = user->name;
  userNameEdit.Enabled = false;
  PasswordRow.Visible = false;
  RepeatRow.Visible = false;
  addUserButton.Caption = "保存修改";
  typeBox.ItemIndex = parseRightsCode(user->rightsCode).value_or(-1);
  onTypeChosen();
  if (typeBox.ItemIndex == rights::kClassTeacher) {
    const store::Scope place = store::accountPlace(db, user->name);
    unitBox.select(place.unit.value_or(""));
    gradeBox.select(place.grade.value_or(""));
    classBox.select(place.cls.value_or(""));
  }
}

void AccountsPage::onSaveRights() {
  store::NewUser user;
  if (!chosenTypeAndScope(user)) return;
  web::Session& session = web::currentSession();
  if (!store::changeRights(session.dataConnection.db(), editedUser_, user.rightsCode,
                           store::Scope::place(user.unit, user.grade, user.className))) {
    web::ShowMessage("用户“" + editedUser_ + "”已不存在。");
  } else {
    web::ShowMessage("已修改用户“" + editedUser_ + "”的权限。");
  }
  // The account's sessions sign in again under the rights it has now.
  session.context().accountsChanged();
  newUserPanel.Visible = false;
  editedUser_.clear();
  warnIfNoSuperAdmin();
  reloadUserList();
}

// The new password is shown here once; only its hash is kept.
void AccountsPage::onResetPassword(const std::string& userName) {
  if (!requireRights({rights::kSuperAdmin})) return;
  const std::string password = auth::randomPassword();
  if (!store::setPasswordHash(web::currentSession().dataConnection.db(), userName,
                              hashPassword(password))) {
    web::ShowMessage("用户“" + userName + "”已不存在。");
    reloadUserList();
    return;
  }
  // Whoever is signed in with the old password is signed out by their next request.
  web::currentSession().context().accountsChanged();
  web::ShowMessage("用户“" + userName + "”的新密码是：" + password +
                   "\n此密码只显示这一次，请记下并转告本人。");
}

}  // namespace zeziza::pages

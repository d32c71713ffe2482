// The user half of the accounts page: list, create and delete.
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
  store::NewUser user;
  user.name = trimmed(userNameEdit.Text);
  if (user.name.empty()) {
    web::ShowMessage("用户名能为空");
    return;
  }
  if (passwordEdit.Text != repeatEdit.Text) {
    web::ShowMessage("重复密码错误");
    return;
  }
  const std::string password = trimmed(passwordEdit.Text);
  if (password.empty()) {
    web::ShowMessage("密码不能为空！");
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
  store::Database& db = web::currentSession().dataConnection.db();
  store::deleteUser(db, userName);
  if (!store::hasSuperAdmin(db)) {
    web::ShowMessage(
        "您删除了唯一的一个超级管理员用户，请及时添加新的超级管理员！，否则任何人都可以在登录页重新"
        "创建新的超级管理员账户");
    newUserPanel.Visible = true;
  }
  reloadUserList();
}

}  // namespace zeziza::pages

#include "pages/signin/password.h"

#include "pages/common/text.h"
#include "pages/signin/credentials.h"
#include "store/users.h"
#include "web/user_session.h"

namespace zeziza::pages {

PasswordPage::PasswordPage() : web::Page("PasswordPage") {
  Title = "修改密码";
  passwordPanel.Css = "card password-panel";
  currentPasswordLabel.Caption = "原有密码 / The original password\n";
  newPasswordLabel.Caption = "新设密码 / The new password\n";
  repeatPasswordLabel.Caption = "重复密码 / Repeat the password\n";
  // Old and new passwords are not shown to whoever looks at the screen.
  for (web::Edit* edit : {&currentPasswordEdit, &newPasswordEdit, &repeatPasswordEdit})
    edit->PasswordPrompt = true;
  changeButton.Caption = "修改密码";
  changeButton.OnClick = [this] { onChangePassword(); };
}

void PasswordPage::onChangePassword() {
  if (trimmed(newPasswordEdit.Text).empty()) {
    web::ShowMessage("新设密码不能为空！");
    return;
  }
  if (newPasswordEdit.Text != repeatPasswordEdit.Text) {
    web::ShowMessage("新设密码与重复密码不一致，请检查！");
    return;
  }
  web::Session& session = web::currentSession();
  const auto user = verifyCredentials(session.userName, currentPasswordEdit.Text);
  if (!user) {
    web::ShowMessage("原有密码错误！请检查。");
    return;
  }
  if (store::setPasswordHash(session.dataConnection.db(), user->name,
                             hashPassword(newPasswordEdit.Text))) {
    web::ShowMessage("修改成功！");
  }
}

}  // namespace zeziza::pages

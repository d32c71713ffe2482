#include "pages/signin/password.h"

#include "pages/signin/password_change.h"
#include "web/user_session.h"

namespace zeziza::pages {

PasswordPage::PasswordPage() : web::Page(kName) {
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
  const std::string message = passwordChangeMessage(
      changeOwnPassword(currentPasswordEdit.Text, newPasswordEdit.Text, repeatPasswordEdit.Text),
      "新设密码与重复密码不一致，请检查！");
  if (!message.empty()) web::ShowMessage(message);
}

}  // namespace zeziza::pages

#include "pages/signin/password.h"

#include "pages/common/text.h"
#include "pages/signin/credentials.h"
#include "store/users.h"
#include "web/user_session.h"

namespace zeziza::pages {

PasswordPage::PasswordPage() : web::Page("PasswordPage") {
  Title = "修改密码";
  IWRegion1.Css = "card password-panel";
  IWLabel1.Caption = "原有密码 / The original password\n";
  IWLabel2.Caption = "新设密码 / The new password\n";
  IWLabel3.Caption = "重复密码 / Repeat the password\n";
  // Old and new passwords are not shown to whoever looks at the screen.
  for (web::Edit* edit : {&IWEdit1, &IWEdit2, &IWEdit3}) edit->PasswordPrompt = true;
  IWButton1.Caption = "修改密码";
  IWButton1.OnClick = [this] { IWButton1Click(); };
}

void PasswordPage::IWButton1Click() {
  if (trimmed(IWEdit2.Text).empty()) {
    web::ShowMessage("新设密码不能为空！");
    return;
  }
  if (IWEdit2.Text != IWEdit3.Text) {
    web::ShowMessage("新设密码与重复密码不一致，请检查！");
    return;
  }
  web::Session& session = web::currentSession();
  const auto user = verifyCredentials(session.userName, IWEdit1.Text);
  if (!user) {
    web::ShowMessage("原有密码错误！请检查。");
    return;
  }
  if (store::setPasswordHash(session.dataConnection.db(), user->name, hashPassword(IWEdit2.Text))) {
    web::ShowMessage("修改成功！");
  }
}

}  // namespace zeziza::pages

#include "pages/cloud/password_slips.h"

#include "pages/common/rights.h"
#include "store/first_passwords.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

SlipView slipView(const store::PasswordSlip& slip) {
  const std::string address = web::currentSession().context().resultsAddress(
      "/vezav/index.dll?dwid=" + std::to_string(slip.account));
  return {slip.unit,
          slip.grade + slip.cls,
          slip.name,
          slip.student,
          address.empty() ? "（请向学校询问成绩查询网址）" : address,
          slip.password};
}

bool sameClass(const store::PasswordSlip& a, const store::PasswordSlip& b) {
  return a.unit == b.unit && a.grade == b.grade && a.cls == b.cls;
}

}  // namespace

PasswordSlipsPage::PasswordSlipsPage() : web::Page(kName) {
  Title = "打印查询密码单";
  OnCreate = [this] { onCreate(); };
  scopeBar.Css = "bar noprint";
  scopeLabel.Caption = "密码单范围";
  makeButton.Caption = "生成密码单";
  makeButton.OnClick = [this] { onMake(); };
  countLabel.Caption = "请选择范围，然后点击“生成密码单”。";
  slipsBox.Css = "password-slips-box";
}

void PasswordSlipsPage::onCreate() {
  if (!requirePageRights(*this, {rights::kSuperAdmin, rights::kAdmin})) return;
  scopeBoxes.fill();
}

void PasswordSlipsPage::onMake() {
  if (!requireRights({rights::kSuperAdmin, rights::kAdmin})) return;
  const store::Scope chosen = scopeBoxes.scope();
  const auto rows =
      store::readPasswordSlips(web::currentSession().dataConnection.db(), chosen.unit.value_or(""),
                               chosen.grade.value_or(""), chosen.cls.value_or(""));
  slips.Classes.clear();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i == 0 || !sameClass(rows[i - 1], rows[i])) slips.Classes.emplace_back();
    slips.Classes.back().push_back(slipView(rows[i]));
  }
  countLabel.Caption = rows.empty() ? kNoneMessage
                                    : "共" + std::to_string(rows.size()) +
                                          "张查询密码单，每班从新的一页开始。"
                                          "请使用浏览器的打印功能（Ctrl+P）打印，裁开后发给学生。";
}

}  // namespace zeziza::pages

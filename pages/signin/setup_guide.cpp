#include "pages/signin/setup_guide.h"

#include "pages/common/navigation.h"
#include "pages/common/rights.h"
#include "pages/master/exams.h"
#include "pages/master/roster.h"
#include "pages/master/units.h"
#include "pages/signin/login.h"
#include "pages/system/accounts.h"
#include "web/user_session.h"

namespace zeziza::pages {

SetupGuidePage::SetupGuidePage() : web::Page("SetupGuidePage") {
  Title = "完成成绩管理基础工作";
  IWRegion1.Css = "card guide";
  IWLabel1.Caption = "完成成绩管理基础工作";
  IWLabel1.Bold = true;
  IWText1.Lines = {
      "很抱歉，系统中不存在学生成绩信息，要进行成绩查询统计，有一些基础工作需要完成。请完成下列工作"
      "再进行查询统计"};
  IWLink6.Caption = "【点击设置考试科目及其分数段】";
  IWLink7.Caption = "【点击设置单位（学校）、年级、班次设置】";
  IWLink8.Caption = "【点击增加学生信息】";
  IWLink9.Caption = "【增加成绩录入员或主管用户，如已存在请忽略】";
  IWLink10.Caption = "【点击以成绩录入员或主管用户名重新登录，录入成绩】";
  OnCreate = [this] { onCreate(); };
  IWLink6.OnClick = [this] { IWLink6Click(); };
  IWLink7.OnClick = [this] { IWLink7Click(); };
  IWLink8.OnClick = [this] { IWLink8Click(); };
  IWLink9.OnClick = [this] { IWLink9Click(); };
  IWLink10.OnClick = [this] { IWLink10Click(); };
  navigationBar.tuichu.OnClick = [this] { onSignOut(); };
}

// The exams and units pages serve codes 0 and 1, the accounts page code 0.
void SetupGuidePage::onCreate() {
  const auto code = sessionRights();
  const bool admin = code == rights::kSuperAdmin || code == rights::kAdmin;
  IWLink6.Visible = admin;
  IWLink7.Visible = admin;
  IWLink9.Visible = code == rights::kSuperAdmin;
}

void SetupGuidePage::IWLink6Click() {
  showWithPageType<ExamsPage>(8);
}
void SetupGuidePage::IWLink7Click() {
  showWithPageType<UnitsPage>(7);
}
void SetupGuidePage::IWLink8Click() {
  showWithPageType<RosterPage>(9);
}
void SetupGuidePage::IWLink9Click() {
  showWithPageType<AccountsPage>(10);
}
void SetupGuidePage::IWLink10Click() {
  web::currentSession().ShowPage<LoginPage>();
}
void SetupGuidePage::onSignOut() {
  navigationBar.tuichuClick();
}

}  // namespace zeziza::pages

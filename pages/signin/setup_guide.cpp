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

TIWForm20::TIWForm20() : web::Page("TIWForm20") {
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
  OnCreate = [this] { IWAppFormCreate(); };
  IWLink6.OnClick = [this] { IWLink6Click(); };
  IWLink7.OnClick = [this] { IWLink7Click(); };
  IWLink8.OnClick = [this] { IWLink8Click(); };
  IWLink9.OnClick = [this] { IWLink9Click(); };
  IWLink10.OnClick = [this] { IWLink10Click(); };
  Tmain1.tuichu.OnClick = [this] { Tmain1tuichuClick(); };
}

// The exams and units pages serve codes 0 and 1, the accounts page code 0.
void TIWForm20::IWAppFormCreate() {
  const auto code = sessionRights();
  const bool admin = code == rights::kSuperAdmin || code == rights::kAdmin;
  IWLink6.Visible = admin;
  IWLink7.Visible = admin;
  IWLink9.Visible = code == rights::kSuperAdmin;
}

void TIWForm20::IWLink6Click() {
  showWithPageType<Ttestset>(8);
}
void TIWForm20::IWLink7Click() {
  showWithPageType<Tdwset>(7);
}
void TIWForm20::IWLink8Click() {
  showWithPageType<TIWForm16>(9);
}
void TIWForm20::IWLink9Click() {
  showWithPageType<Tusergl>(10);
}
void TIWForm20::IWLink10Click() {
  web::UserSession().ShowPage<TIWForm1>();
}
void TIWForm20::Tmain1tuichuClick() {
  Tmain1.tuichuClick();
}

}  // namespace zeziza::pages

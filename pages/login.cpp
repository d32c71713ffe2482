#include "pages/login.h"

namespace zeziza::pages {

TIWForm1::TIWForm1() : web::Page("TIWForm1") {
  Title = "系统登陆";
  OnCreate = [this] { IWAppFormCreate(); };
}

void TIWForm1::IWAppFormCreate() {
  IWLabel1.Caption = "Zeziza学生成绩管理系统";
}

}  // namespace zeziza::pages

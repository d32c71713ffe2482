#include "pages/score_query.h"

namespace zeziza::pages {

TIWForm3::TIWForm3() : web::Page("TIWForm3") {
  Title = "Zeziza学生成绩管理系统";
  LockOnSubmit = false;
  OnCreate = [this] { IWAppFormCreate(); };
}

void TIWForm3::IWAppFormCreate() {}

}  // namespace zeziza::pages

#include "pages/score_entry.h"

namespace zeziza::pages {

TIWForm2::TIWForm2() : web::Page("TIWForm2") {
  Title = "成绩录入";
  OnCreate = [this] { IWAppFormCreate(); };
}

void TIWForm2::IWAppFormCreate() {}

}  // namespace zeziza::pages

#pragma once

#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/master/list_section.h"
#include "web/page.h"

namespace zeziza::pages {

// Units (schools), grades and classes: three independent lists that place every student.
class Tdwset : public web::Page {
 public:
  Tdwset();

 private:
  void IWAppFormCreate();

  Tmain Tmain1{*this};
  web::Region Columns{*this, "Columns"};
  ListSection<web::List> units_;
  ListSection<web::List> grades_;
  ListSection<web::List> classes_;
  TIWFrame19 TIWFrame191{*this};
};

}  // namespace zeziza::pages

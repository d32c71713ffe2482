#pragma once

#include "pages/nav_bar.h"
#include "web/page.h"

namespace zeziza::pages {

// The password change page.
class TIWForm18 : public web::Page {
 public:
  TIWForm18();

 private:
  void IWAppFormCreate();

  Tmain Tmain1{*this};
};

}  // namespace zeziza::pages

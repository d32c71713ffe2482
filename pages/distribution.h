#pragma once

#include "pages/footer.h"
#include "pages/nav_bar.h"
#include "web/page.h"

namespace zeziza::pages {

// Score-range distribution.
class TIWForm13 : public web::Page {
 public:
  TIWForm13();

 private:
  void IWAppFormCreate();

  Tmain Tmain1{*this};
  TIWFrame19 TIWFrame191{*this};
};

}  // namespace zeziza::pages

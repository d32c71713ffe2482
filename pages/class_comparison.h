#pragma once

#include "pages/footer.h"
#include "pages/nav_bar.h"
#include "web/page.h"

namespace zeziza::pages {

// Class comparison.
class TIWForm11 : public web::Page {
 public:
  TIWForm11();

 private:
  void IWAppFormCreate();

  Tmain Tmain1{*this};
  TIWFrame19 TIWFrame191{*this};
};

}  // namespace zeziza::pages

#pragma once

#include "web/controls/display.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// The login page.
class TIWForm1 : public web::Page {
 public:
  TIWForm1();

 private:
  void IWAppFormCreate();

  web::Label IWLabel1{*this, "IWLabel1"};
};

}  // namespace zeziza::pages

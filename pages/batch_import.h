#pragma once

#include "pages/footer.h"
#include "web/page.h"

namespace zeziza::pages {

// Batch import of pasted score columns.
class TIWFormdr : public web::Page {
 public:
  TIWFormdr();

 private:
  void IWAppFormCreate();

  TIWFrame19 TIWFrame191{*this};
};

}  // namespace zeziza::pages

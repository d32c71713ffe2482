#include "pages/cloud_upload.h"

#include "pages/rights.h"

namespace zeziza::pages {

TIWFormup::TIWFormup() : web::Page("TIWFormup") {
  OnCreate = [this] { IWAppFormCreate(); };
}

void TIWFormup::IWAppFormCreate() {
  if (!requirePageRights(*this, {rights::kSuperAdmin, rights::kAdmin})) return;
}

}  // namespace zeziza::pages

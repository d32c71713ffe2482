#include "pages/cloud_upload.h"

namespace zeziza::pages {

TIWFormup::TIWFormup() : web::Page("TIWFormup") { OnCreate = [this] { IWAppFormCreate(); }; }

void TIWFormup::IWAppFormCreate() {}

}  // namespace zeziza::pages

#include "pages/batch_import.h"

namespace zeziza::pages {

TIWFormdr::TIWFormdr() : web::Page("TIWFormdr") { OnCreate = [this] { IWAppFormCreate(); }; }

void TIWFormdr::IWAppFormCreate() {}

}  // namespace zeziza::pages

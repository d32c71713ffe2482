#include "pages/ranking.h"

namespace zeziza::pages {

TIWForm12::TIWForm12() : web::Page("TIWForm12") { OnCreate = [this] { IWAppFormCreate(); }; }

void TIWForm12::IWAppFormCreate() {}

}  // namespace zeziza::pages

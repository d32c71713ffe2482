#include "pages/distribution.h"

namespace zeziza::pages {

TIWForm13::TIWForm13() : web::Page("TIWForm13") { OnCreate = [this] { IWAppFormCreate(); }; }

void TIWForm13::IWAppFormCreate() {}

}  // namespace zeziza::pages

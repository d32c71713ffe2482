#include "pages/progress.h"

namespace zeziza::pages {

TIWForm7::TIWForm7() : web::Page("TIWForm7") { OnCreate = [this] { IWAppFormCreate(); }; }

void TIWForm7::IWAppFormCreate() {}

}  // namespace zeziza::pages

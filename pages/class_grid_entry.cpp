#include "pages/class_grid_entry.h"

namespace zeziza::pages {

TIWForm6::TIWForm6() : web::Page("TIWForm6") { OnCreate = [this] { IWAppFormCreate(); }; }

void TIWForm6::IWAppFormCreate() {}

}  // namespace zeziza::pages

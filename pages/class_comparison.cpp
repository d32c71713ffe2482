#include "pages/class_comparison.h"

namespace zeziza::pages {

TIWForm11::TIWForm11() : web::Page("TIWForm11") { OnCreate = [this] { IWAppFormCreate(); }; }

void TIWForm11::IWAppFormCreate() {}

}  // namespace zeziza::pages

#include "pages/chart.h"

namespace zeziza::pages {

TIWForm5::TIWForm5() : web::Page("TIWForm5") { OnCreate = [this] { IWAppFormCreate(); }; }

void TIWForm5::IWAppFormCreate() {}

}  // namespace zeziza::pages

#include "pages/units.h"

namespace zeziza::pages {

Tdwset::Tdwset() : web::Page("Tdwset") { OnCreate = [this] { IWAppFormCreate(); }; }

void Tdwset::IWAppFormCreate() {}

}  // namespace zeziza::pages

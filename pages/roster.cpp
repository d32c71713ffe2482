#include "pages/roster.h"

namespace zeziza::pages {

TIWForm16::TIWForm16() : web::Page("TIWForm16") { OnCreate = [this] { IWAppFormCreate(); }; }

void TIWForm16::IWAppFormCreate() {}

}  // namespace zeziza::pages

#include "pages/setup_guide.h"

namespace zeziza::pages {

TIWForm20::TIWForm20() : web::Page("TIWForm20") {
  OnCreate = [this] { IWAppFormCreate(); };
}

void TIWForm20::IWAppFormCreate() {}

}  // namespace zeziza::pages

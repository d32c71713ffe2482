#include "pages/password.h"

namespace zeziza::pages {

TIWForm18::TIWForm18() : web::Page("TIWForm18") {
  OnCreate = [this] { IWAppFormCreate(); };
}

void TIWForm18::IWAppFormCreate() {}

}  // namespace zeziza::pages

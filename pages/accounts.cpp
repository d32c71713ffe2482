#include "pages/accounts.h"

namespace zeziza::pages {

Tusergl::Tusergl() : web::Page("Tusergl") {
  OnCreate = [this] { IWAppFormCreate(); };
}

void Tusergl::IWAppFormCreate() {}

}  // namespace zeziza::pages

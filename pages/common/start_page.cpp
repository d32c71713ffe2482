#include "pages/common/start_page.h"

#include "pages/signin/login.h"

namespace zeziza::pages {

web::PageFactory startPage() {
  return [] { return std::make_unique<LoginPage>(); };
}

}  // namespace zeziza::pages

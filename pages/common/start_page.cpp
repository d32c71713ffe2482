#include "pages/common/start_page.h"

#include "pages/signin/login.h"

namespace zeziza::pages {

web::PageFactory startPage() {
  return [] { return std::make_unique<TIWForm1>(); };
}

}  // namespace zeziza::pages

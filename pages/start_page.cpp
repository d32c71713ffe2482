#include "pages/start_page.h"

#include "pages/login.h"

namespace zeziza::pages {

web::PageFactory startPage() {
  return [] { return std::make_unique<TIWForm1>(); };
}

}  // namespace zeziza::pages

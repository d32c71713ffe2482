#include "pages/common/site.h"

#include "web/server_controller.h"

namespace zeziza::pages {

std::string siteAddress(std::string_view path) {
  const auto* controller = web::TIWServerController::instance();
  if (!controller) return {};
  std::string site = controller->settings().Site;
  while (!site.empty() && site.back() == '/') site.pop_back();
  if (site.empty()) return {};
  return site + std::string(path);
}

}  // namespace zeziza::pages

#include "pages/analysis_access.h"

#include <string>

#include "web/controls/region.h"
#include "web/page.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kNoRightsMessage = "您没有使用此功能的权限！";
constexpr const char* kNoPageRightsMessage = "您没有访问此页面的权限！请用有权限的用户名重新登录。";

bool analysisRights() {
  const std::string& code = web::UserSession().rightsCode;
  return code == "0" || code == "1" || code == "4";
}

}  // namespace

bool allowAnalysisPage(web::Page& page) {
  if (analysisRights()) return true;
  for (web::Control* control : page.children()) {
    if (!dynamic_cast<web::Frame*>(control)) control->Visible = false;
  }
  web::ShowMessage(kNoPageRightsMessage);
  return false;
}

bool allowAnalysisAction() {
  if (analysisRights()) return true;
  web::ShowMessage(kNoRightsMessage);
  return false;
}

}  // namespace zeziza::pages

#include "pages/common/rights.h"

#include <algorithm>
#include <array>

#include "web/controls/region.h"
#include "web/page.h"
#include "web/user_session.h"

namespace zeziza::pages {

std::optional<int> parseRightsCode(std::string_view text) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '9') return std::nullopt;
  return text[0] - '0';
}

std::optional<int> sessionRights() {
  return web::currentSession().login.rights;
}

std::string_view roleName(int code) {
  static constexpr std::array<std::string_view, 6> kNames = {"超级管理员", "管理员",   "主管",
                                                             "成绩录入员", "普通用户", "班主任"};
  return code >= 0 && code < static_cast<int>(kNames.size())
             ? kNames[static_cast<std::size_t>(code)]
             : std::string_view();
}

bool hasRights(std::initializer_list<int> allowed) {
  const auto code = sessionRights();
  return code && std::find(allowed.begin(), allowed.end(), *code) != allowed.end();
}

bool requireRights(std::initializer_list<int> allowed) {
  if (hasRights(allowed)) return true;
  web::ShowMessage(std::string(kNoRightsMessage));
  return false;
}

bool requirePageRights(web::Page& page, std::initializer_list<int> allowed) {
  if (hasRights(allowed)) return true;
  for (web::Control* child : page.children()) {
    if (!dynamic_cast<web::Frame*>(child)) child->Visible = false;
  }
  web::ShowMessage(std::string(kNoPageRightsMessage));
  return false;
}

}  // namespace zeziza::pages

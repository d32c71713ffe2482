#include "pages/entry/entry_access.h"

#include "web/controls/region.h"
#include "web/user_session.h"

namespace zeziza::pages::entry {

namespace {

bool hasCode(int code) {
  return sessionRights() == code;
}

}  // namespace

bool isSupervisor() {
  return hasCode(rights::kSupervisor);
}

bool isClerk() {
  return hasCode(rights::kClerk);
}

bool isClassTeacher() {
  return hasCode(rights::kClassTeacher);
}

bool requirePage(web::Page& page, std::initializer_list<int> allowed, web::Region& bar,
                 web::Control& wayOut) {
  if (requirePageRights(page, allowed)) return true;
  for (web::Control* child : bar.children()) child->Visible = child == &wayOut;
  bar.Visible = true;
  return false;
}

bool requireEntryRights() {
  return requireRights({rights::kSupervisor, rights::kClerk, rights::kClassTeacher});
}

std::string userCaption() {
  const std::string& user = web::currentSession().login.userName;
  if (!isSupervisor() && !isClerk() && !isClassTeacher()) return user;
  return user + "[" + std::string(roleName(*sessionRights())) + "]";
}

}  // namespace zeziza::pages::entry

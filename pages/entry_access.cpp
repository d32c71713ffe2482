#include "pages/entry_access.h"

#include "web/control.h"
#include "web/user_session.h"

namespace zeziza::pages::entry {

namespace {

bool hasCode(std::string_view code) {
  return web::UserSession().rightsCode == code;
}

std::string_view roleTag() {
  if (isSupervisor()) return "[主管]";
  if (isClerk()) return "[成绩录入员]";
  if (isClassTeacher()) return "[班主任]";
  return "";
}

}  // namespace

bool isSupervisor() {
  return hasCode("2");
}

bool isClerk() {
  return hasCode("3");
}

bool isClassTeacher() {
  return hasCode("5");
}

bool mayEnterScores() {
  return isSupervisor() || isClerk() || isClassTeacher();
}

bool requireEntryRights() {
  if (mayEnterScores()) return true;
  web::ShowMessage(std::string(kNoRightsMessage));
  return false;
}

void refusePage(std::initializer_list<web::Control*> parts) {
  for (web::Control* part : parts) part->Visible = false;
  web::ShowMessage(std::string(kNoRightsMessage));
}

std::string userCaption() {
  return web::UserSession().userName + std::string(roleTag());
}

}  // namespace zeziza::pages::entry

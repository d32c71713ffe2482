#include "pages/signin/password_change.h"

#include "base/text.h"
#include "pages/signin/credentials.h"
#include "store/users.h"
#include "web/user_session.h"

namespace zeziza::pages {

PasswordChangeResult changeOwnPassword(const std::string& old, const std::string& fresh,
                                       const std::string& repeat) {
  const std::string typed = base::trimmed(fresh);
  if (typed.empty()) return {PasswordChange::Blank};
  if (passwordTooShort(typed)) return {PasswordChange::TooShort};
  if (fresh != repeat) return {PasswordChange::NotRepeated};
  web::Session& session = web::currentSession();
  const auto [user, lockedFor] = verifyCredentials(session.login.userName, old);
  if (lockedFor.count() > 0) return {PasswordChange::Locked, lockedFor};
  if (!user) return {PasswordChange::WrongOldPassword};
  store::Database& db = session.dataConnection.db();
  if (!store::setPasswordHash(db, user->name, hashPassword(fresh))) {
    return {PasswordChange::NotStored};
  }
  // The account's other sessions are signed out by their next request; this one goes on.
  session.context().accountsChanged();
  session.login.rightsStamp = store::rightsStamp(db, user->name).value_or("");
  return {PasswordChange::Changed};
}

std::string passwordChangeMessage(const PasswordChangeResult& result,
                                  const std::string& notRepeated) {
  switch (result.outcome) {
    case PasswordChange::Blank:
      return "新设密码不能为空！";
    case PasswordChange::TooShort:
      return kPasswordTooShort;
    case PasswordChange::Locked:
      return lockedMessage(result.lockedFor);
    case PasswordChange::NotRepeated:
      return notRepeated;
    case PasswordChange::WrongOldPassword:
      return "原有密码错误！请检查。";
    case PasswordChange::Changed:
      return "修改成功！";
    case PasswordChange::NotStored:
      break;
  }
  return {};
}

}  // namespace zeziza::pages

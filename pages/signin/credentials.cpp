#include "pages/signin/credentials.h"

#include "web/event_log.h"
#include "web/user_session.h"

namespace zeziza::pages {

std::optional<store::StoredUser> verifyCredentials(const std::string& name,
                                                   const std::string& password) {
  web::Session& session = web::currentSession();
  auth::LoginThrottle& throttle = session.context().loginThrottle();
  auth::PasswordHasher& hasher = session.context().passwordHasher();
  if (!throttle.allowed(name, session.clientAddress)) return std::nullopt;
  auto user = store::findUser(session.dataConnection.db(), name);
  bool matches = false;
  if (user) {
    matches = hasher.verify(user->passwordHash, password);
  } else {
    hasher.verifyNobody(password);
  }
  if (!matches) {
    throttle.failed(name, session.clientAddress);
    return std::nullopt;
  }
  throttle.succeeded(name, session.clientAddress);
  return user;
}

void recordSignIn(const std::string& name, bool succeeded) {
  web::EventLog* log = web::currentSession().context().eventLog();
  if (!log) return;
  const std::vector<web::LogField> fields = {{"user", name},
                                             {"address", web::currentSession().clientAddress}};
  if (succeeded) {
    log->record("signin", "用户登录", fields);
  } else {
    log->record("signin-failed", "登录失败", fields);
  }
}

std::string hashPassword(std::string_view password) {
  return web::currentSession().context().passwordHasher().hash(password);
}

}  // namespace zeziza::pages

#include "pages/signin/credentials.h"

#include "web/server_controller.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

web::TIWServerController& controller() {
  auto* instance = web::TIWServerController::instance();
  if (!instance) throw std::logic_error("no server controller");
  return *instance;
}

}  // namespace

std::optional<StoredUser> verifyCredentials(const std::string& name, const std::string& password) {
  web::TIWUserSession& session = web::UserSession();
  auth::LoginThrottle& throttle = controller().loginThrottle();
  auth::PasswordHasher& hasher = controller().passwordHasher();
  if (!throttle.allowed(name, session.clientAddress)) return std::nullopt;
  auto user = findUser(session.ADOConnection1.db(), name);
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
  web::EventLog* log = controller().eventLog();
  if (!log) return;
  const std::vector<web::LogField> fields = {{"user", name},
                                             {"address", web::UserSession().clientAddress}};
  if (succeeded) {
    log->record("signin", "用户登录", fields);
  } else {
    log->record("signin-failed", "登录失败", fields);
  }
}

std::string hashPassword(std::string_view password) {
  return controller().passwordHasher().hash(password);
}

}  // namespace zeziza::pages

#include "pages/signin/credentials.h"

#include "web/event_log.h"
#include "web/user_session.h"

namespace zeziza::pages {

CredentialCheck verifyCredentials(const std::string& name, const std::string& password) {
  web::Session& session = web::currentSession();
  auth::LoginThrottle& throttle = session.context().loginThrottle();
  auth::PasswordHasher& hasher = session.context().passwordHasher();
  const auto wait = throttle.waitFor(name, session.clientAddress);
  if (wait.count() > 0) return {std::nullopt, std::chrono::ceil<std::chrono::seconds>(wait)};
  auto user = store::findUser(session.dataConnection.db(), name);
  bool matches = false;
  if (user) {
    matches = hasher.verify(user->passwordHash, password);
  } else {
    hasher.verifyNobody(password);
  }
  if (!matches) {
    throttle.failed(name, session.clientAddress);
    return {};
  }
  throttle.succeeded(name, session.clientAddress);
  return {std::move(user), {}};
}

std::string lockedMessage(std::chrono::seconds lockedFor) {
  return "登录失败次数过多，请" + std::to_string(lockedFor.count()) + "秒后再试。";
}

bool passwordTooShort(std::string_view password) {
  std::size_t characters = 0;
  for (const char c : password) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;  // not a continuation byte
  }
  return characters < kMinPasswordLength;
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

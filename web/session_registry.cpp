#include "web/session_registry.h"

#include <sodium.h>

#include <array>
#include <stdexcept>

namespace zeziza::web {

std::string newSessionId() {
  static const bool ready = sodium_init() >= 0;
  if (!ready) throw std::runtime_error("libsodium could not be initialised");
  std::array<unsigned char, 16> bytes{};
  randombytes_buf(bytes.data(), bytes.size());
  std::array<char, 33> hex{};
  sodium_bin2hex(hex.data(), hex.size(), bytes.data(), bytes.size());
  return std::string(hex.data(), 32);
}

std::shared_ptr<Session> SessionRegistry::create(const store::DataFolder& folder,
                                                 store::SharedStore& store) {
  auto session = std::make_shared<Session>();
  session->id = newSessionId();
  session->user = std::make_unique<TIWUserSession>(folder, store, session->id);
  std::lock_guard lock(mutex_);
  if (sessions_.size() >= capacity_) return nullptr;
  sessions_.emplace(session->id, session);
  return session;
}

std::shared_ptr<Session> SessionRegistry::acquire(const std::string& id) {
  std::lock_guard lock(mutex_);
  const auto it = sessions_.find(id);
  if (it == sessions_.end()) return nullptr;
  ++it->second->requestsUnderWay;
  return it->second;
}

void SessionRegistry::release(Session& session) {
  std::lock_guard lock(mutex_);
  --session.requestsUnderWay;
  session.lastRequest = Clock::now();
}

std::vector<std::shared_ptr<Session>> SessionRegistry::takeIdle(
    const std::function<bool(const Session&)>& shouldEnd) {
  std::vector<std::shared_ptr<Session>> taken;
  std::lock_guard lock(mutex_);
  for (auto it = sessions_.begin(); it != sessions_.end();) {
    if (it->second->requestsUnderWay == 0 && shouldEnd(*it->second)) {
      taken.push_back(it->second);
      it = sessions_.erase(it);
    } else {
      ++it;
    }
  }
  return taken;
}

std::size_t SessionRegistry::count() const {
  std::lock_guard lock(mutex_);
  return sessions_.size();
}

}  // namespace zeziza::web

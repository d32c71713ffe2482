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

SessionRegistry::Created SessionRegistry::create(const store::DataFolder& folder,
                                                 store::SharedStore& store, AppContext& context,
                                                 const std::string& address) {
  auto session = std::make_shared<LiveSession>();
  session->id = newSessionId();
  session->clientAddress = address;
  session->user = std::make_unique<Session>(folder, store, session->id, context);
  Created created;
  std::lock_guard lock(mutex_);
  const auto known = guestsByAddress_.find(address);
  if (known != guestsByAddress_.end() && known->second >= guestsPerAddress_ &&
      !displaceOldestGuest([&](const LiveSession& s) { return s.clientAddress == address; },
                           created.displaced)) {
    return created;
  }
  if (sessions_.size() >= capacity_ &&
      !displaceOldestGuest([](const LiveSession&) { return true; }, created.displaced)) {
    return created;
  }
  session->order = ++made_;
  sessions_.emplace(session->id, session);
  guests_.emplace(session->order, session);
  ++guestsByAddress_[address];
  created.session = std::move(session);
  return created;
}

bool SessionRegistry::displaceOldestGuest(const std::function<bool(const LiveSession&)>& matches,
                                          std::vector<std::shared_ptr<LiveSession>>& displaced) {
  for (const auto& [order, guest] : guests_) {
    if (guest->requestsUnderWay == 0 && matches(*guest)) {
      displaced.push_back(guest);
      erase(displaced.back());
      return true;
    }
  }
  return false;
}

void SessionRegistry::erase(const std::shared_ptr<LiveSession>& session) {
  sessions_.erase(session->id);
  forgetGuest(*session);
}

void SessionRegistry::forgetGuest(const LiveSession& session) {
  if (guests_.erase(session.order) == 0) return;
  const auto count = guestsByAddress_.find(session.clientAddress);
  if (count != guestsByAddress_.end() && --count->second == 0) guestsByAddress_.erase(count);
}

std::shared_ptr<LiveSession> SessionRegistry::acquire(const std::string& id) {
  std::lock_guard lock(mutex_);
  const auto it = sessions_.find(id);
  if (it == sessions_.end()) return nullptr;
  ++it->second->requestsUnderWay;
  return it->second;
}

void SessionRegistry::release(LiveSession& session, bool signedIn) {
  std::lock_guard lock(mutex_);
  --session.requestsUnderWay;
  session.lastRequest = Clock::now();
  if (!signedIn || session.signedIn) return;
  session.signedIn = true;
  forgetGuest(session);  // it never gives way to a newcomer now
}

bool SessionRegistry::contains(std::string_view id) const {
  std::lock_guard lock(mutex_);
  return sessions_.find(id) != sessions_.end();
}

std::vector<std::shared_ptr<LiveSession>> SessionRegistry::takeIdle(
    const std::function<bool(const LiveSession&)>& shouldEnd) {
  std::vector<std::shared_ptr<LiveSession>> taken;
  std::lock_guard lock(mutex_);
  for (auto it = sessions_.begin(); it != sessions_.end();) {
    if (it->second->requestsUnderWay == 0 && shouldEnd(*it->second)) {
      taken.push_back(it->second);
      ++it;
      erase(taken.back());
    } else {
      ++it;
    }
  }
  return taken;
}

std::vector<std::shared_ptr<LiveSession>> SessionRegistry::idleGuests(
    Clock::time_point lastRequestBefore) const {
  std::vector<std::shared_ptr<LiveSession>> guests;
  std::lock_guard lock(mutex_);
  for (const auto& [id, session] : sessions_) {
    if (session->requestsUnderWay == 0 && !session->signedIn &&
        session->lastRequest < lastRequestBefore) {
      guests.push_back(session);
    }
  }
  return guests;
}

std::size_t SessionRegistry::count() const {
  std::lock_guard lock(mutex_);
  return sessions_.size();
}

}  // namespace zeziza::web

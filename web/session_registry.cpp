#include "web/session_registry.h"

#include <sodium.h>

#include <algorithm>
#include <array>
#include <stdexcept>

#include "base/text.h"
#include "web/address_group.h"

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
  session->group = addressGroup(address);
  session->user = std::make_unique<Session>(folder, store, session->id, context);
  Created created;
  std::lock_guard lock(mutex_);
  const auto known = guestsByAddress_.find(address);
  if (known != guestsByAddress_.end() && known->second >= limits_.guestsPerAddress) {
    // The address makes room among its own: a page nobody uses first, else its oldest.
    const auto own = [&](const LiveSession& s) { return s.clientAddress == address; };
    if (!displaceOwn(guestsByGroup_[session->group], own, created.displaced)) return created;
  }
  const auto network = guestsByGroup_.find(session->group);
  if (network != guestsByGroup_.end() && network->second.size() >= limits_.guestsPerNetwork) {
    // Likewise the network: its login pages never fill the server.
    const auto any = [](const LiveSession&) { return true; };
    if (!displaceOwn(network->second, any, created.displaced)) return created;
  }
  if (sessions_.size() >= limits_.capacity &&
      !displaceFromLargestGroup(session->group, created.displaced)) {
    return created;
  }
  session->order = ++made_;
  sessions_.emplace(session->id, session);
  guestsByGroup_[session->group].emplace(session->order, session);
  ++guestsByAddress_[address];
  created.session = std::move(session);
  return created;
}

// A start exchange never followed up is nobody's work; a page posted lately is in use.
bool SessionRegistry::givesWay(const LiveSession& guest, Clock::time_point now, Yield yield) const {
  if (guest.requestsUnderWay > 0) return false;
  if (yield == Yield::AnyIdle) return true;
  if (guest.started) return now - guest.lastRequest >= limits_.loginPageInUse;
  return yield == Yield::Room || now - guest.lastRequest >= limits_.startGrace;
}

bool SessionRegistry::displaceOldest(const ByOrder& guests,
                                     const std::function<bool(const LiveSession&)>& matches,
                                     Sessions& displaced, Yield yield) {
  const auto now = Clock::now();
  for (const auto& [order, guest] : guests) {
    if (givesWay(*guest, now, yield) && matches(*guest)) {
      displaced.push_back(guest);
      erase(displaced.back());  // `guests` may be gone now
      return true;
    }
  }
  return false;
}

bool SessionRegistry::displaceOwn(const ByOrder& guests,
                                  const std::function<bool(const LiveSession&)>& own,
                                  Sessions& displaced) {
  return displaceOldest(guests, own, displaced, Yield::OwnRoom) ||
         displaceOldest(guests, own, displaced, Yield::AnyIdle);
}

bool SessionRegistry::displaceFromLargestGroup(const std::string& newcomerGroup,
                                               Sessions& displaced) {
  // The most guests first; of as many, the network with the oldest guest.
  struct Group {
    std::size_t size;
    const ByOrder* guests;
  };
  std::vector<Group> groups;
  groups.reserve(guestsByGroup_.size());
  std::size_t guestCount = 0;
  bool newcomerHasGroup = false;
  for (const auto& [group, guests] : guestsByGroup_) {
    if (guests.empty()) continue;
    groups.push_back({guests.size(), &guests});
    newcomerHasGroup = newcomerHasGroup || group == newcomerGroup;
    guestCount += guests.size();
  }
  std::sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
    return a.size != b.size ? a.size > b.size : a.guests->begin()->first < b.guests->begin()->first;
  });
  // Each network's share of the login pages: the guests, the newcomer among them, over the
  // networks holding them. A network past it has no page in use; one within it keeps its
  // pages in use, the newcomer's own too (its newcomer waits rather than end them).
  const std::size_t networks = groups.size() + (newcomerHasGroup ? 0 : 1);
  const std::size_t share = (guestCount + 1) / networks;
  const auto any = [](const LiveSession&) { return true; };
  for (const Group& group : groups) {
    if (group.size > share && displaceOwn(*group.guests, any, displaced)) return true;
  }
  for (const Group& group : groups) {
    if (displaceOldest(*group.guests, any, displaced, Yield::Room)) return true;
  }
  return false;
}

void SessionRegistry::erase(const std::shared_ptr<LiveSession>& session) {
  const auto keep = session;  // the indexes below may hold the last other reference
  sessions_.erase(keep->id);
  forgetGuest(*keep);
  forgetAccount(*keep);
}

void SessionRegistry::forgetGuest(const LiveSession& session) {
  const auto group = guestsByGroup_.find(session.group);
  if (group == guestsByGroup_.end() || group->second.erase(session.order) == 0) return;
  if (group->second.empty()) guestsByGroup_.erase(group);
  const auto count = guestsByAddress_.find(session.clientAddress);
  if (count != guestsByAddress_.end() && --count->second == 0) guestsByAddress_.erase(count);
}

void SessionRegistry::forgetAccount(const LiveSession& session) {
  if (session.account.empty()) return;
  for (auto* index : {&byAccount_, &signedInByAddress_}) {
    const auto& key = index == &byAccount_ ? session.account : session.clientAddress;
    const auto it = index->find(key);
    if (it == index->end()) continue;
    it->second.erase(session.signInOrder);
    if (it->second.empty()) index->erase(it);
  }
}

std::shared_ptr<LiveSession> SessionRegistry::acquire(const std::string& id) {
  std::lock_guard lock(mutex_);
  const auto it = sessions_.find(id);
  if (it == sessions_.end()) return nullptr;
  ++it->second->requestsUnderWay;
  return it->second;
}

SessionRegistry::Sessions SessionRegistry::release(LiveSession& session,
                                                   const std::optional<std::string>& account) {
  Sessions taken;
  std::lock_guard lock(mutex_);
  --session.requestsUnderWay;
  session.lastRequest = Clock::now();
  if (!account) return taken;
  const std::string folded = base::toLower(*account);
  if (folded == session.account || !sessions_.contains(session.id)) return taken;
  if (!session.signedIn && !folded.empty()) {
    session.signedIn = true;
    forgetGuest(session);  // it never gives way to a newcomer now
  }
  forgetAccount(session);
  session.account = folded;
  if (folded.empty()) return taken;
  session.signInOrder = ++signIns_;
  byAccount_[folded].emplace(session.signInOrder, sessions_.at(session.id));
  signedInByAddress_[session.clientAddress].emplace(session.signInOrder, sessions_.at(session.id));
  trimSignedIn(byAccount_[folded], limits_.sessionsPerAccount, session, taken);
  trimSignedIn(signedInByAddress_[session.clientAddress], limits_.signedInPerAddress, session,
               taken);
  return taken;
}

void SessionRegistry::trimSignedIn(const ByOrder& signedIn, std::size_t cap,
                                   const LiveSession& keep, Sessions& taken) {
  std::size_t over = signedIn.size() > cap ? signedIn.size() - cap : 0;
  Sessions oldest;
  for (auto it = signedIn.begin(); over > 0 && it != signedIn.end(); ++it) {
    if (it->second.get() != &keep && it->second->requestsUnderWay == 0) {
      oldest.push_back(it->second);
      --over;
    }
  }
  for (const auto& session : oldest) erase(session);  // after the walk over `signedIn`
  taken.insert(taken.end(), oldest.begin(), oldest.end());
}

bool SessionRegistry::contains(std::string_view id) const {
  std::lock_guard lock(mutex_);
  return sessions_.find(id) != sessions_.end();
}

SessionRegistry::Sessions SessionRegistry::takeIdle(
    const std::function<bool(const LiveSession&)>& shouldEnd) {
  Sessions taken;
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

SessionRegistry::Sessions SessionRegistry::idleGuests(Clock::time_point lastRequestBefore) const {
  Sessions guests;
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

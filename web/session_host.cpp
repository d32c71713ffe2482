#include "web/session_host.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "web/memory_return.h"

namespace zeziza::web {

namespace {

// Login pages of one network get a share of the server's room unless a share was set.
RoomLimits withNetworkShare(RoomLimits room) {
  if (room.guestsPerNetwork == std::numeric_limits<std::size_t>::max()) {
    room.guestsPerNetwork = limits::guestSessionsPerNetwork(room.capacity);
  }
  return room;
}

}  // namespace

SessionHost::SessionHost(const store::DataFolder& folder, store::SharedStore& store,
                         PageFactory startPage, AppContext& context, SessionSettings settings)
    : folder_(folder),
      store_(store),
      startPage_(std::move(startPage)),
      context_(&context),
      settings_(settings),
      sessions_(withNetworkShare(settings_.Room)) {}

SessionHost::~SessionHost() {
  stopHousekeeping();
  endIdleSessions();
}

std::shared_ptr<LiveSession> SessionHost::startSession(const std::string& clientAddress) {
  auto created = sessions_.create(folder_, store_, *context_, clientAddress);
  endSessions(created.displaced);
  if (!created.session) return nullptr;
  created.session->keepAlive =
      std::max<std::chrono::milliseconds>(settings_.SessionTimeout / 3, std::chrono::seconds(1));
  notifyCount();
  return created.session;
}

bool SessionHost::keepAlive(const std::string& sessionId) {
  const auto session = sessions_.acquire(sessionId);
  if (session) endSessions(sessions_.release(*session, std::nullopt));
  return session != nullptr;
}

std::optional<EventOutcome> SessionHost::postEvent(const PostedForm& form,
                                                   const std::string& sessionId,
                                                   const std::string& address, bool gzip) {
  const auto session = sessions_.acquire(sessionId);
  if (!session) return std::nullopt;
  std::optional<EventOutcome> outcome;
  std::optional<std::string> account;  // who is signed in after the request
  try {
    std::lock_guard lock(session->serving);
    session->user->clientAddress = address;
    outcome = serveEvent(*session, form, startPage_, gzip);
    account = session->user->login.userName;
  } catch (...) {
    endSessions(sessions_.release(*session, account));
    throw;
  }
  // Past the account's or the address's cap, its oldest sessions end.
  endSessions(sessions_.release(*session, account));
  return outcome;
}

void SessionHost::stop(std::string_view id) {
  endSessions(sessions_.takeIdle([&](const LiveSession& s) { return s.id == id; }));
}

void SessionHost::endSessions(const SessionRegistry::Sessions& sessions) {
  for (const auto& session : sessions) endSession(*session);
}

void SessionHost::endSession(LiveSession& session) {
  {
    std::lock_guard lock(session.serving);
    session.user.reset();  // pages first, then the connections
  }
  std::error_code ec;
  std::filesystem::remove_all(folder_.cache() / "user" / session.id, ec);
  notifyCount();
}

std::size_t SessionHost::endIdleSessions() {
  const auto ended = sessions_.takeIdle([](const LiveSession&) { return true; });
  for (const auto& session : ended) endSession(*session);
  return ended.size();
}

std::size_t SessionHost::setAsideIdlePages(Clock::time_point now) {
  std::size_t setAside = 0;
  for (const auto& session : sessions_.idleGuests(now - settings_.SetAsideIdlePagesAfter)) {
    // A session a request has just taken keeps its page.
    std::unique_lock lock(session->serving, std::try_to_lock);
    if (lock && session->user && session->user->setAsideIdlePage()) ++setAside;
  }
  return setAside;
}

std::size_t SessionHost::expireSessions(Clock::time_point now) {
  const auto ended = sessions_.takeIdle(
      [&](const LiveSession& s) { return now - s.lastRequest >= settings_.SessionTimeout; });
  for (const auto& session : ended) endSession(*session);
  return ended.size();
}

void SessionHost::purgeCache(std::filesystem::file_time_type now) {
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(folder_.cache(), ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code fileError;
    if (!it->is_regular_file(fileError)) continue;
    const auto written = it->last_write_time(fileError);
    if (!fileError && now - written >= settings_.CacheExpiry) {
      std::filesystem::remove(it->path(), fileError);
    }
  }
}

void SessionHost::startHousekeeping() {
  housekeepingStop_ = false;
  housekeeping_ = std::thread([this] { housekeepingLoop(); });
}

void SessionHost::stopHousekeeping() {
  {
    std::lock_guard lock(housekeepingMutex_);
    housekeepingStop_ = true;
  }
  housekeepingWake_.notify_all();
  if (housekeeping_.joinable()) housekeeping_.join();
}

void SessionHost::housekeepingLoop() {
  std::unique_lock lock(housekeepingMutex_);
  while (!housekeepingWake_.wait_for(lock, settings_.HousekeepingInterval,
                                     [this] { return housekeepingStop_; })) {
    lock.unlock();
    try {
      expireSessions(Clock::now());
      setAsideIdlePages(Clock::now());
      purgeCache(std::filesystem::file_time_type::clock::now());
      returnFreedMemory();  // what ended sessions held
    } catch (const std::exception& e) {
      // The next round tries again; the failure is reported, never hidden.
      if (eventLog_) {
        eventLog_->error(std::string("会话清理失败: ") + e.what());
      } else {
        std::fprintf(stderr, "housekeeping failed: %s\n", e.what());
      }
    }
    lock.lock();
  }
}

void SessionHost::setSessionCountListener(std::function<void(std::size_t)> listener) {
  std::lock_guard lock(listenerMutex_);
  countListener_ = std::move(listener);
}

void SessionHost::notifyCount() {
  std::lock_guard lock(listenerMutex_);
  if (countListener_) countListener_(sessions_.count());
}

}  // namespace zeziza::web

#include "auth/login_throttle.h"

#include <algorithm>

#include "base/text.h"

namespace zeziza::auth {

namespace {

// Only the beginning of a name counts, so an entry stays small whatever is typed.
constexpr std::size_t kKeyNameBytes = 128;

// User names match without regard to letter case, so the key folds it too.
std::string keyFor(std::string_view user, std::string_view address) {
  std::string key = base::toLower(user.substr(0, kKeyNameBytes));
  key += '\n';
  key += address;
  return key;
}

}  // namespace

LoginThrottle::LoginThrottle(Policy policy, Now now) : policy_(policy), now_(std::move(now)) {}

void LoginThrottle::setClock(Now now) {
  std::lock_guard lock(mutex_);
  now_ = std::move(now);
}

std::chrono::milliseconds LoginThrottle::delayAfter(int failures) const {
  const int over = failures - policy_.freeFailures;
  if (over < 0) return std::chrono::milliseconds(0);
  auto delay = policy_.firstDelay;
  for (int i = 0; i < over && delay < policy_.maxDelay; ++i) delay *= 2;
  return std::min(delay, policy_.maxDelay);
}

bool LoginThrottle::allowed(std::string_view user, std::string_view address) {
  return waitFor(user, address) == std::chrono::milliseconds(0);
}

std::chrono::milliseconds LoginThrottle::waitFor(std::string_view user, std::string_view address) {
  std::lock_guard lock(mutex_);
  const auto it = entries_.find(keyFor(user, address));
  if (it == entries_.end()) return std::chrono::milliseconds(0);
  const auto now = now_();
  if (now >= it->second.blockedUntil) return std::chrono::milliseconds(0);
  return std::chrono::ceil<std::chrono::milliseconds>(it->second.blockedUntil - now);
}

void LoginThrottle::failed(std::string_view user, std::string_view address) {
  std::lock_guard lock(mutex_);
  const auto now = now_();
  std::string key = keyFor(user, address);
  auto it = entries_.find(key);
  if (it != entries_.end() && now - it->second.lastFailure >= policy_.forgetAfter) {
    entries_.erase(it);
    it = entries_.end();
  }
  if (it == entries_.end()) {
    makeRoom(now);
    it = entries_.emplace(std::move(key), Entry{}).first;
  }
  Entry& entry = it->second;
  ++entry.failures;
  entry.lastFailure = now;
  entry.blockedUntil = now + delayAfter(entry.failures);
}

void LoginThrottle::succeeded(std::string_view user, std::string_view address) {
  std::lock_guard lock(mutex_);
  entries_.erase(keyFor(user, address));
}

std::size_t LoginThrottle::size() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

// Called with the mutex held before an entry is added.
void LoginThrottle::makeRoom(Clock::time_point now) {
  if (entries_.size() < policy_.maxEntries) return;
  std::erase_if(entries_, [&](const auto& item) {
    return now - item.second.lastFailure >= policy_.forgetAfter;
  });
  if (entries_.size() < policy_.maxEntries || entries_.empty()) return;
  const auto oldest = std::min_element(
      entries_.begin(), entries_.end(),
      [](const auto& a, const auto& b) { return a.second.lastFailure < b.second.lastFailure; });
  entries_.erase(oldest);
}

}  // namespace zeziza::auth

#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>

namespace zeziza::web::limits {

// Every limit of the web layer, in one place.
inline constexpr std::size_t kMaxRequestBytes = 16 * 1024 * 1024;
inline constexpr std::size_t kMaxUploadBytes = 8 * 1024 * 1024;
inline constexpr std::size_t kMaxEditBytes = 4096;
inline constexpr std::size_t kMaxMemoBytes = 8 * 1024 * 1024;
inline constexpr std::size_t kMaxLiveSessions = 5000;
// Live sessions that never signed in, from one client address: a flood of start exchanges
// from one machine ends its own oldest sessions, nobody else's. Enough for a staff room
// behind one address signing in at once.
inline constexpr std::size_t kGuestSessionsPerAddress = 64;
// Live sessions that never signed in, from one network (addressGroup: a /24, a /64): a tenth
// of the server's cap, so no network's login pages fill it, but never fewer than one address
// may hold. Past it the network's own oldest login page ends.
inline constexpr std::size_t guestSessionsPerNetwork(std::size_t maxSessions) {
  return std::max(kGuestSessionsPerAddress, maxSessions / 10);
}
// Signed-in sessions of one account: past it the account's oldest idle session ends.
inline constexpr std::size_t kSessionsPerAccount = 20;
// Signed-in sessions from one client address (a staff room or a proxy not named trusted
// puts many colleagues behind one): past it the address's oldest idle one ends.
inline constexpr std::size_t kSignedInSessionsPerAddress = 1000;
// A login page posted from within this time is in use and not ended to make room, while its
// network holds no more than its share of the login pages.
inline constexpr std::chrono::seconds kLoginPageInUse{60};
// A browser between its start exchange and its first post: so long it is not ended for room
// either, though it never posted yet.
inline constexpr std::chrono::seconds kStartExchangeGrace{5};
// Connections: idle ones cost a socket and a little memory, no thread.
inline constexpr unsigned kConnectionsPerAddress = 128;
inline constexpr unsigned kMaxConnections = 20000;
inline constexpr unsigned kFilesKeptFree = 64;  // for databases, logs and exports
inline constexpr int kListenBacklog = 1024;
inline constexpr std::size_t kHeaderBytes = 16 * 1024;  // cleared for every request
// A whole request (header and body) must arrive, and its answer leave, within this time.
inline constexpr std::chrono::seconds kRequestDeadline{30};
inline constexpr std::chrono::seconds kIdleTimeout{15};
// Page events waiting for a worker, per session or client.
inline constexpr std::size_t kQueuedEventsPerKey = 64;
inline constexpr std::chrono::minutes kSessionTimeout{10};
inline constexpr std::chrono::minutes kCacheExpiry{120};
inline constexpr std::chrono::seconds kHousekeepingInterval{15};
// A browser that has not signed in and has sent nothing for this long has its login page set
// aside until it comes back.
inline constexpr std::chrono::seconds kSetAsideIdlePagesAfter{30};

}  // namespace zeziza::web::limits

#pragma once

#include <chrono>
#include <cstddef>

namespace zeziza::web::limits {

// Every limit of the web layer, in one place.
inline constexpr std::size_t kMaxRequestBytes = 16 * 1024 * 1024;
inline constexpr std::size_t kMaxUploadBytes = 8 * 1024 * 1024;
inline constexpr std::size_t kMaxEditBytes = 4096;
inline constexpr std::size_t kMaxMemoBytes = 8 * 1024 * 1024;
inline constexpr std::size_t kMaxLiveSessions = 5000;
// One thread serves one connection: enough that idle or slow connections cannot starve the
// rest (an idle connection is dropped after the keep-alive time-out).
inline constexpr std::size_t kWorkerThreads = 256;
inline constexpr std::chrono::seconds kReadTimeout{20};
inline constexpr std::chrono::seconds kWriteTimeout{20};
inline constexpr std::chrono::seconds kKeepAliveTimeout{5};
inline constexpr std::size_t kKeepAliveMaxCount = 100;
inline constexpr std::chrono::minutes kSessionTimeout{10};
inline constexpr std::chrono::minutes kCacheExpiry{120};
inline constexpr std::chrono::seconds kHousekeepingInterval{15};

}  // namespace zeziza::web::limits

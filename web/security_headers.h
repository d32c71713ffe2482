#pragma once

namespace zeziza::web {

// The policy every page is sent with: script only from the server's own files, never inline,
// so markup that slipped into a text cannot run. Style attributes stay allowed: controls
// carry their colours that way, and a style cannot run anything.
inline constexpr bool kContentSecurityPolicyOn = true;
inline constexpr const char* kContentSecurityPolicy =
    "default-src 'self'; style-src 'self' 'unsafe-inline'; frame-ancestors 'self'";

}  // namespace zeziza::web

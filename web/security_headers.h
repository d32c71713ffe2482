#pragma once

namespace zeziza::web {

// The policy every page is sent with: nothing but the server's own scripts, styles and
// pictures. Off while pages still carry script of their own inline.
inline constexpr bool kContentSecurityPolicyOn = false;
inline constexpr const char* kContentSecurityPolicy = "default-src 'self'";

}  // namespace zeziza::web

#pragma once

#include <optional>
#include <string>

namespace zeziza::web {

// The host name a certificate (PEM, the first of a chain) is made out to, as a browser would
// be sent to it: its first DNS name without a wildcard, else its first IP address (IPv6 in
// brackets), else its common name when that is a plain host name. Nullopt for none or for
// text that is no certificate.
std::optional<std::string> certificateHostName(const std::string& pem);

}  // namespace zeziza::web

#pragma once

#include <string>
#include <string_view>

namespace zeziza::web {

// The network a client address belongs to, as one place one party controls: its /24 for
// IPv4 (also written as IPv4-mapped IPv6), its /64 for IPv6. Text that is no address is its
// own group.
std::string addressGroup(std::string_view address);

}  // namespace zeziza::web

#include "web/address_group.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "base/platform/sockets.h"

namespace zeziza::web {

namespace {

std::string ipv4Group(const unsigned char* bytes) {
  char text[24];
  std::snprintf(text, sizeof text, "%u.%u.%u.0/24", bytes[0], bytes[1], bytes[2]);
  return text;
}

}  // namespace

std::string addressGroup(std::string_view address) {
  const std::string text(address);
  std::array<unsigned char, 16> bytes{};
  if (inet_pton(AF_INET, text.c_str(), bytes.data()) == 1) return ipv4Group(bytes.data());
  if (inet_pton(AF_INET6, text.c_str(), bytes.data()) != 1) return text;
  constexpr std::array<unsigned char, 12> kMappedPrefix = {0, 0, 0, 0, 0,    0,
                                                           0, 0, 0, 0, 0xff, 0xff};
  if (std::equal(kMappedPrefix.begin(), kMappedPrefix.end(), bytes.begin())) {
    return ipv4Group(bytes.data() + 12);
  }
  char group[48];
  std::snprintf(group, sizeof group, "%02x%02x:%02x%02x:%02x%02x:%02x%02x::/64", bytes[0], bytes[1],
                bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7]);
  return group;
}

}  // namespace zeziza::web

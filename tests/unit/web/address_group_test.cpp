#include "web/address_group.h"

#include <gtest/gtest.h>

namespace zeziza::testing {
namespace {

TEST(AddressGroupTest, AddressesOfOneNetworkShareAGroup) {
  const struct {
    const char* address;
    const char* group;
  } cases[] = {
      {"10.1.2.3", "10.1.2.0/24"},
      {"10.1.2.254", "10.1.2.0/24"},
      {"::ffff:10.1.2.9", "10.1.2.0/24"},  // IPv4 written as IPv6 is the same network
      {"2001:db8:1:2:aaaa::1", "2001:0db8:0001:0002::/64"},
      {"2001:db8:1:2::ffff", "2001:0db8:0001:0002::/64"},
      {"2001:db8:1:3::1", "2001:0db8:0001:0003::/64"},
      {"not an address", "not an address"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(web::addressGroup(c.address), c.group) << c.address;
}

}  // namespace
}  // namespace zeziza::testing

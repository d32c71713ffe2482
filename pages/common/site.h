#pragma once

#include <string>
#include <string_view>

namespace zeziza::pages {

// The address of `path` ("/home", "/vezav/help") on the maker's web site, or empty when
// the server was started without a site address (--site).
std::string siteAddress(std::string_view path);

}  // namespace zeziza::pages

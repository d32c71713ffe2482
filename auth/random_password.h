#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zeziza::auth {

// Letters and digits that cannot be taken for one another when read off a slip or a screen:
// no 0/O/o, 1/l/I/i, 2/Z, 5/S, 8/B.
inline constexpr std::string_view kPlainAlphabet =
    "34679ACDEFGHJKLMNPQRTUVWXYabcdefghjkmnpqrtuvwxy";

// `length` characters of kPlainAlphabet from the system's secure random source.
std::string randomPassword(std::size_t length = 8);

}  // namespace zeziza::auth

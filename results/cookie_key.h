#pragma once

#include <sodium.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace zeziza::results {

// The key that signs sign-in cookies. Every instance serving the same site needs the same key.
using CookieKey = std::array<unsigned char, crypto_auth_KEYBYTES>;

// The key written as hex text (what key files and ZEZIZA_RESULTS_KEY hold); nullopt when the
// text is not exactly that.
std::optional<CookieKey> parseCookieKey(std::string text);
std::string cookieKeyText(const CookieKey& key);

// The key from `environmentValue` when given, else from `file`, which is created with a new
// random key (readable by the owner only) when it does not exist. Throws with a message when
// the value or the file holds no key, or the file cannot be made.
CookieKey loadCookieKey(const std::optional<std::string>& environmentValue,
                        const std::filesystem::path& file);

}  // namespace zeziza::results

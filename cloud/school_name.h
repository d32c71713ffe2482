#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zeziza::cloud {

// Why a school name cannot be registered, in the registration's words; nullopt when it can.
// Refused here: invisible and direction characters, and letters of scripts that are not
// written together (a Cyrillic letter among Latin ones). Look-alike names are caught by
// schoolNameKey.
std::optional<std::string> schoolNameProblem(std::string_view name);

// The name as it is kept and shown: blanks of every width trimmed at both ends and each run
// of them inside made one space.
std::string tidySchoolName(std::string_view name);

// What two names that read alike share: the name after NFKC without blanks, as its confusable
// skeleton (⻄ and 西, a Cyrillic С and a Latin C read the same). One registration per key.
std::string schoolNameKey(std::string_view name);

// The password a school registers with: at least this many characters that are not blanks.
inline constexpr std::size_t kMinSchoolPassword = 8;

// Characters (code points) of UTF-8 text.
std::size_t characterCount(std::string_view text);
// Characters of UTF-8 text that are neither blanks nor control characters.
std::size_t visibleCharacterCount(std::string_view text);

}  // namespace zeziza::cloud

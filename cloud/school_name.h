#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zeziza::cloud {

// Why a school name cannot be registered, in the registration's words; nullopt when it can.
// Names that only look alike to a reader are refused here (invisible and direction characters);
// the service compares the rest after NFKC, one registration per name.
std::optional<std::string> schoolNameProblem(std::string_view name);

// The password a school registers with: at least this many characters.
inline constexpr std::size_t kMinSchoolPassword = 8;

// Characters (code points) of UTF-8 text.
std::size_t characterCount(std::string_view text);

}  // namespace zeziza::cloud

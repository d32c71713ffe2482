#pragma once

#include <string>
#include <string_view>

namespace zeziza::base {

// `text` without the blanks and control characters (codes up to 0x20) at both ends, as the
// office's forms trim names, passwords and numbers.
std::string_view trimmedView(std::string_view text);
std::string trimmed(std::string_view text);

// ASCII letters in lower case; other bytes (UTF-8 included) as they are.
std::string toLower(std::string_view text);

}  // namespace zeziza::base

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zeziza::analysis {

// A number as typed, the one way every score, full mark and deduction is read. A Chinese
// input method often gives full-width digits, point, sign and blanks: the text is folded
// (NFKC) first. Blanks around it and one trailing 分 are allowed ("８５．５分" is 85.5);
// anything else (letters, commas, "nan", "inf", a number beyond a double) is not a number.
// "-0" reads as 0.
std::optional<double> typedNumber(std::string_view text);

// True when the text folds to nothing but blanks (a full-width blank is one too).
bool blankTyped(std::string_view text);

// The typed text as a message quotes it: trimmed, at most `limit` characters.
std::string quotedTyped(std::string_view text, std::size_t limit = 20);

}  // namespace zeziza::analysis

#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace zeziza::analysis {

// `text` without the blanks and control characters (codes up to 0x20) at both ends, as the
// office's forms trim names, passwords and numbers.
std::string_view trimmedView(std::string_view text);
std::string trimmed(std::string_view text);

// An integer written out exactly: digits with an optional '-', nothing around them. For
// numbers the program wrote itself (row ids, keys) and texts already trimmed.
template <class Integer>
std::optional<Integer> exactInteger(std::string_view text) {
  Integer value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A typed integer: blanks around it and one leading sign are allowed, nothing else.
std::optional<int> wholeNumber(std::string_view text);

// True when a typed name holds a line break, which a stored list cannot carry.
bool holdsLineBreak(std::string_view text);

}  // namespace zeziza::analysis

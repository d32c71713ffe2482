#pragma once

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

#include "base/text.h"

namespace zeziza::base {

// An integer written out exactly: digits with an optional '-', nothing around them. For
// numbers the program wrote itself (row ids, keys, lengths) and texts already trimmed.
template <class Integer>
std::optional<Integer> exactInteger(std::string_view text) {
  Integer value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A typed integer: blanks around it and one leading sign are allowed, nothing else.
inline std::optional<int> wholeNumber(std::string_view text) {
  std::string_view digits = trimmedView(text);
  const bool plus = digits.starts_with('+');
  if (plus) digits.remove_prefix(1);
  if (plus && digits.starts_with('-')) return std::nullopt;
  return exactInteger<int>(digits);
}

}  // namespace zeziza::base

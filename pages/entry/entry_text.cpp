#include "pages/entry/entry_text.h"

#include <charconv>

namespace zeziza::pages {

namespace {

bool isBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u <= 0x20;
}

}  // namespace

std::string trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::optional<int> wholeNumber(std::string_view text) {
  const std::string bare = trimmed(text);
  std::string_view digits = bare;
  const bool plus = digits.starts_with('+');
  if (plus) digits.remove_prefix(1);
  if (digits.empty() || (plus && digits.starts_with('-'))) return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

bool holdsLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace zeziza::pages

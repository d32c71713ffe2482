#include "analysis/typed_text.h"

namespace zeziza::analysis {

namespace {

bool isBlank(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

}  // namespace

std::string_view trimmedView(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string trimmed(std::string_view text) {
  return std::string(trimmedView(text));
}

std::optional<int> wholeNumber(std::string_view text) {
  std::string_view digits = trimmedView(text);
  const bool plus = digits.starts_with('+');
  if (plus) digits.remove_prefix(1);
  if (plus && digits.starts_with('-')) return std::nullopt;
  return exactInteger<int>(digits);
}

bool holdsLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace zeziza::analysis

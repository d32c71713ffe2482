#include "base/text.h"

#include <algorithm>
#include <cctype>

namespace zeziza::base {

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

std::string toLower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

}  // namespace zeziza::base

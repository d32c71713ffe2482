#include "web/html.h"

#include <algorithm>
#include <cstdint>

namespace zeziza::web {

std::string jsonForScriptElement(std::string_view json) {
  std::string safe;
  safe.reserve(json.size());
  for (const char c : json) {
    if (c == '<') {
      safe += "\\u003c";
    } else {
      safe += c;
    }
  }
  return safe;
}

bool isValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == 0) return false;
    int extra = 0;
    std::uint32_t code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1, code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2, code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3, code = c & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto cc = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((cc & 0xC0) != 0x80) return false;
      code = (code << 6) | (cc & 0x3F);
    }
    const std::uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (code < minimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

}  // namespace zeziza::web

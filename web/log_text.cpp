#include "web/log_text.h"

#include <cstdint>
#include <optional>

namespace zeziza::web {

namespace {

constexpr char kHex[] = "0123456789abcdef";

struct Decoded {
  std::optional<char32_t> character;  // none: the first byte is not the start of UTF-8
  std::size_t length = 1;
};

// The character at the start of `text` (not empty).
Decoded decodeFirst(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return {lead, 1};
  std::size_t extra = 0;
  char32_t code = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, code = lead & 0x07;
  } else {
    return {};
  }
  if (extra >= text.size()) return {};
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(text[k]);
    if ((next & 0xC0) != 0x80) return {};
    code = (code << 6) | (next & 0x3F);
  }
  constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (code < kLeast[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
  return {code, extra + 1};
}

void appendByte(std::string& out, unsigned char byte) {
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 15];
}

void appendCodePoint(std::string& out, char32_t c) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 15];
}

}  // namespace

bool unsafeInLogLine(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) ||  // C0, DEL, C1 (NEL among them)
         c == 0x061C ||                           // Arabic letter mark
         (c >= 0x200B && c <= 0x200F) ||          // zero widths, left-to-right/right-to-left marks
         (c >= 0x2028 && c <= 0x202E) ||          // line and paragraph separators, embeddings
         (c >= 0x2060 && c <= 0x206F) ||          // word joiner, isolates, deprecated formats
         c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB);
}

std::string escapeLogText(std::string_view text, bool quoteMarks) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const Decoded d = decodeFirst(text);
    if (!d.character) {
      appendByte(out, static_cast<unsigned char>(text[0]));
    } else if (const char32_t c = *d.character; c == '\n') {
      out += "\\n";
    } else if (c < 0x20 || c == 0x7F) {
      appendByte(out, static_cast<unsigned char>(c));
    } else if (unsafeInLogLine(c)) {
      appendCodePoint(out, c);
    } else if (quoteMarks && (c == '"' || c == '\\')) {
      out += '\\';
      out += static_cast<char>(c);
    } else {
      out.append(text.substr(0, d.length));
    }
    text.remove_prefix(d.length);
  }
  return out;
}

bool needsLogEscape(std::string_view text) {
  return escapeLogText(text, false) != text;
}

std::string escapeJsonLine(std::string_view json) {
  std::string out;
  out.reserve(json.size());
  while (!json.empty()) {
    const Decoded d = decodeFirst(json);
    if (d.character && *d.character >= 0x80 && unsafeInLogLine(*d.character)) {
      appendCodePoint(out, *d.character);  // only inside strings: the writer's names are ASCII
    } else {
      out.append(json.substr(0, d.length));
    }
    json.remove_prefix(d.length);
  }
  return out;
}

}  // namespace zeziza::web

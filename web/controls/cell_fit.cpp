#include "web/controls/cell_fit.h"

namespace zeziza::web {

std::size_t characterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

bool keepsOneLine(std::string_view text) {
  return characterCount(text) <= kOneLineCellChars;
}

void writeCellFit(HtmlWriter& out, std::string_view text) {
  if (!keepsOneLine(text)) out.attr("class", kWrappingCellClass);
}

}  // namespace zeziza::web

#pragma once

#include <cstddef>
#include <string_view>

#include "web/html.h"

namespace zeziza::web {

// Cells of a table keep their text on one line: a unit, a grade, a score or a rank with its
// value broken in two ("中心/校区", "[ 175" / "] 100") is unreadable, and a table too wide for
// its frame scrolls instead. A text longer than this many characters (not bytes) is prose,
// and its cell is marked to wrap.
inline constexpr std::size_t kOneLineCellChars = 20;

// The class written on a cell whose text may wrap.
inline constexpr std::string_view kWrappingCellClass = "wrap";

// Characters of UTF-8 `text`: bytes that do not continue a sequence.
std::size_t characterCount(std::string_view text);

// True for a text shown unbroken in its cell.
bool keepsOneLine(std::string_view text);

// Writes the wrapping class on a cell element whose text is long.
void writeCellFit(HtmlWriter& out, std::string_view text);

}  // namespace zeziza::web

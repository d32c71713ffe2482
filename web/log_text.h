#pragma once

#include <string>
#include <string_view>

namespace zeziza::web {

// True for a character a log line must not hold raw: it would break the line, reorder what a
// terminal shows (U+202E) or hide text.
bool unsafeInLogLine(char32_t c);

// `text` with its unsafe characters escaped: C0 controls and DEL as `\n` or `\xNN`, other
// unsafe characters as `\uXXXX`, bytes that are not UTF-8 as `\xNN`; `"` and `\` escaped when
// `quoteMarks`. Everything else stays as it is.
std::string escapeLogText(std::string_view text, bool quoteMarks);

// True when `escapeLogText` would change `text`.
bool needsLogEscape(std::string_view text);

// A JSON text whose unsafe characters outside ASCII (which the JSON writer leaves raw) are
// written as `\uXXXX` escapes; it parses to the same value.
std::string escapeJsonLine(std::string_view json);

}  // namespace zeziza::web

#pragma once

#include <string>
#include <string_view>

namespace zeziza::web {

// Escapes text for an HTML text node or a quoted attribute value.
std::string escapeHtml(std::string_view text);
// True when `text` is well-formed UTF-8 without NUL bytes.
bool isValidUtf8(std::string_view text);
std::string toLower(std::string_view text);
// JSON text made safe inside a <script> element: every "<" becomes \u003c, so no value can
// close the element or open a comment.
std::string jsonForScriptElement(std::string_view json);

// Accumulates a page; every text goes through escapeHtml unless written with raw().
class HtmlWriter {
 public:
  HtmlWriter& raw(std::string_view html) {
    out_ += html;
    return *this;
  }
  HtmlWriter& text(std::string_view text) {
    out_ += escapeHtml(text);
    return *this;
  }
  // Writes ` name="value"` with the value escaped.
  HtmlWriter& attr(std::string_view name, std::string_view value) {
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    out_ += escapeHtml(value);
    out_ += '"';
    return *this;
  }
  const std::string& str() const { return out_; }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
};

}  // namespace zeziza::web

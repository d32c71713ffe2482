#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/html_escape.h"
#include "base/text.h"

namespace zeziza::web {

using base::appendEscapedHtml;
using base::escapeHtml;
using base::toLower;

// True when `text` is well-formed UTF-8 without NUL bytes.
bool isValidUtf8(std::string_view text);
// JSON text made safe inside a <script> element: every "<" becomes \u003c, so no value can
// close the element or open a comment.
std::string jsonForScriptElement(std::string_view json);

// Accumulates a page; every text goes through escapeHtml unless written with raw(). With a
// spill, what was written goes to it in pieces of about kSpillBytes (and the rest on flush()),
// so a big page is compressed as it is rendered and never held whole.
class HtmlWriter {
 public:
  using Spill = std::function<void(std::string_view piece)>;
  static constexpr std::size_t kSpillBytes = 64 * 1024;

  HtmlWriter() = default;
  explicit HtmlWriter(Spill spill) : spill_(std::move(spill)) {}

  HtmlWriter& raw(std::string_view html) {
    out_ += html;
    return spillIfFull();
  }
  HtmlWriter& text(std::string_view text) {
    appendEscapedHtml(out_, text);
    return spillIfFull();
  }
  // Writes ` name="value"` with the value escaped.
  HtmlWriter& attr(std::string_view name, std::string_view value) {
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    appendEscapedHtml(out_, value);
    out_ += '"';
    return spillIfFull();
  }
  // What was written and not yet spilled.
  const std::string& str() const { return out_; }
  std::string take() { return std::move(out_); }
  // Hands the rest to the spill; without one, everything stays to be taken.
  void flush() {
    if (!spill_ || out_.empty()) return;
    spill_(out_);
    out_.clear();
  }

 private:
  HtmlWriter& spillIfFull() {
    if (spill_ && out_.size() >= kSpillBytes) flush();
    return *this;
  }

  Spill spill_;
  std::string out_;
};

}  // namespace zeziza::web

#include "web/controls/display.h"

namespace zeziza::web {

std::string safeColor(std::string_view color) {
  std::string out;
  for (const char c : color) {
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '#') out += c;
  }
  return out;
}

void writeFontStyle(HtmlWriter& out, std::string_view color, int size, bool bold,
                    std::string_view background) {
  std::string style;
  if (!color.empty()) style += "color:" + safeColor(color) + ";";
  if (size > 0) style += "font-size:" + std::to_string(size) + "pt;";
  if (bold) style += "font-weight:bold;";
  if (!background.empty()) style += "background:" + safeColor(background) + ";";
  if (!style.empty()) out.attr("style", style);
}

void Label::render(HtmlWriter& out) const {
  out.raw("<span");
  writeIdentity(out, false);
  out.attr("class", "lbl");
  writeFontStyle(out, FontColor, FontSize, Bold);
  out.raw(">");
  RawText ? out.raw(Caption) : out.text(Caption);
  out.raw("</span>");
}

void Text::render(HtmlWriter& out) const {
  out.raw("<div");
  writeIdentity(out, false);
  out.attr("class", "txt");
  out.raw(">");
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    if (i > 0) out.raw("<br>");
    out.text(Lines[i]);
  }
  out.raw("</div>");
}

void Url::render(HtmlWriter& out) const {
  out.raw("<a");
  writeIdentity(out, false);
  out.attr("class", "lnk").attr("href", URL).attr("target", "_blank").attr("rel", "noopener");
  out.raw(">");
  RawText ? out.raw(Caption) : out.text(Caption);
  out.raw("</a>");
}

void ImageFile::render(HtmlWriter& out) const {
  out.raw("<img");
  writeIdentity(out, false);
  out.attr("class", "img").attr("src", Source).attr("alt", AltText);
  out.raw(">");
}

void HRule::render(HtmlWriter& out) const {
  out.raw("<hr");
  writeIdentity(out, false);
  out.raw(">");
}

void Rectangle::render(HtmlWriter& out) const {
  out.raw("<div");
  writeIdentity(out, false);
  out.attr("class", "rect");
  writeFontStyle(out, FontColor, 0, false, Color);
  out.raw(">");
  out.text(Text);
  out.raw("</div>");
}

}  // namespace zeziza::web

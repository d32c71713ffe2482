#pragma once

#include <string>
#include <vector>

#include "web/control.h"

namespace zeziza::web {

// A caption; with RawText the caption is markup of the page's own (links, font tags).
class Label : public Control {
 public:
  using Control::Control;
  std::string Caption;
  bool RawText = false;
  std::string FontColor;  // a CSS colour name or #rrggbb
  int FontSize = 0;       // points; 0 keeps the style sheet's size
  bool Bold = false;
  void render(HtmlWriter& out) const override;
};

// Read-only lines shown with line breaks.
class Text : public Control {
 public:
  using Control::Control;
  std::vector<std::string> Lines;
  void render(HtmlWriter& out) const override;
};

// Opens an address in a new window without submitting the page.
class Url : public Control {
 public:
  using Control::Control;
  std::string Caption;
  std::string URL;
  bool RawText = false;
  void render(HtmlWriter& out) const override;
};

// A picture served from the files folder (the banner).
class ImageFile : public Control {
 public:
  using Control::Control;
  std::string Source;  // address, e.g. "/files/bj.jpg"
  std::string AltText;
  void render(HtmlWriter& out) const override;
};

class HRule : public Control {
 public:
  using Control::Control;
  void render(HtmlWriter& out) const override;
};

// Text on a coloured box.
class Rectangle : public Control {
 public:
  using Control::Control;
  std::string Text;
  std::string Color;
  std::string FontColor;
  void render(HtmlWriter& out) const override;
};

// Keeps only characters a CSS colour may hold, so a colour can never break out of a style.
std::string safeColor(std::string_view color);
// Writes ` style="..."` for the given colour and size when any is set.
void writeFontStyle(HtmlWriter& out, std::string_view color, int size, bool bold,
                    std::string_view background = {});

}  // namespace zeziza::web

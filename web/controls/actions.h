#pragma once

#include <functional>
#include <string>

#include "web/control.h"

namespace zeziza::web {

class Button : public Control {
 public:
  using Control::Control;
  std::string Caption;
  std::string Css = "btn";
  std::function<void()> OnClick;

  void render(HtmlWriter& out) const override;
  bool hasEvent() const override { return static_cast<bool>(OnClick); }
  void fire(std::string_view param) override;
};

// A text link that submits; with a Confirmation the browser asks first and submits only on OK.
class Link : public Control {
 public:
  using Control::Control;
  std::string Caption;
  std::string Confirmation;
  std::string FontColor;
  std::function<void()> OnClick;

  void render(HtmlWriter& out) const override;
  bool hasEvent() const override { return static_cast<bool>(OnClick); }
  void fire(std::string_view param) override;
};

// Submits the page as its own event after Interval milliseconds.
class Timer : public Control {
 public:
  using Control::Control;
  int Interval = 0;
  std::function<void()> OnTimer;

  void render(HtmlWriter&) const override {}
  void collectScript(ClientScriptState& state) const override;
  bool hasEvent() const override { return Enabled && Interval > 0; }
  void fire(std::string_view param) override;
};

}  // namespace zeziza::web

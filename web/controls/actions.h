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
  std::string Confirmation;  // asked before the click is sent; Cancel sends nothing
  // For a button that throws away what was typed in its own guarded region
  // (Region::LeaveQuestion): asked before the click is sent when something was typed there.
  std::string DiscardQuestion;
  std::function<void()> OnClick;

  void render(HtmlWriter& out) const override;
  bool hasEvent() const override { return static_cast<bool>(OnClick); }
  void fire(std::string_view param) override;
};

// A text link that submits; with a Confirmation the browser asks first and submits only on OK.
// A Download link may be answered with a file, after which no new page arrives: the browser
// neither locks the page nor waits for an answer before the next submit.
class Link : public Control {
 public:
  using Control::Control;
  std::string Caption;
  std::string Confirmation;
  bool Download = false;
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

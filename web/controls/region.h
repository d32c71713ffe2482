#pragma once

#include <functional>
#include <string>

#include "web/control.h"
#include "web/page.h"

namespace zeziza::web {

// A container whose visibility handlers switch to show and hide a panel.
class Region : public Control, public Container {
 public:
  Region(Container& parent, std::string name) : Control(parent, std::move(name)) {}

  std::string Css;  // style class of the panel, e.g. "panel" or "bar"
  // When set, text typed into the panel is kept from being lost: the browser asks before the
  // page is left by anything but the panel's own controls (its leave prompt, or this question
  // for a link of the page).
  std::string LeaveQuestion;

  Page& page() override { return Control::page(); }
  std::string qualify(std::string_view name) const override {
    return Control::parent().qualify(name);
  }
  bool shown() const override { return effectivelyVisible(); }
  void render(HtmlWriter& out) const override;
};

// A region with its own controls and handlers, embedded in pages (navigation bar, footer).
// Its controls are named "<frame>.<control>" on the page.
class Frame : public Region {
 public:
  Frame(Container& parent, std::string name);
  std::function<void()> OnCreate;
  // Runs before every rendering of the page that holds the frame.
  std::function<void()> OnRender;

  std::string qualify(std::string_view name) const override {
    return fullName() + "." + std::string(name);
  }
};

}  // namespace zeziza::web

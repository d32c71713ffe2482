#include "web/page.h"

#include <algorithm>

#include "web/controls/region.h"

namespace zeziza::web {

Page::Page(std::string className) : className_(std::move(className)) {}

Page::~Page() = default;

void Page::create() {
  for (Frame* frame : frames_) {
    if (frame->OnCreate) frame->OnCreate();
  }
  if (OnCreate) OnCreate();
}

void Page::beforeRender() {
  for (Frame* frame : frames_) {
    if (frame->OnRender) frame->OnRender();
  }
}

Control* Page::find(std::string_view name) const {
  const auto it = controls_.find(toLower(name));
  return it == controls_.end() ? nullptr : it->second;
}

void Page::registerControl(Control& control) {
  const auto [it, added] = controls_.emplace(control.elementId(), &control);
  if (!added) throw std::logic_error("two controls named " + control.fullName());
  order_.push_back(&control);
}

void Page::unregisterControl(const Control& control) {
  const auto it = controls_.find(control.elementId());
  if (it != controls_.end() && it->second == &control) controls_.erase(it);
  order_.erase(std::remove(order_.begin(), order_.end(), &control), order_.end());
}

}  // namespace zeziza::web

#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "web/control.h"

namespace zeziza::web {

class Frame;

// A page: its controls in order, its frames, title and creation handler. Pages are plain
// classes that declare controls as members and wire their handlers in the constructor.
class Page : public Container {
 public:
  explicit Page(std::string className);
  ~Page() override;

  std::string Title;
  bool LockOnSubmit = true;
  // Holds nothing a later request needs (every field it keeps is posted with each event), so
  // an idle session may free it and make it again when the browser comes back.
  bool SetAsideWhenIdle = false;
  std::function<void()> OnCreate;

  const std::string& className() const { return className_; }

  Page& page() override { return *this; }
  std::string qualify(std::string_view name) const override { return std::string(name); }
  bool shown() const override { return true; }

  // Runs the frames' creation handlers, then the page's own.
  void create();
  // Runs the frames' rendering handlers before the page is rendered.
  void beforeRender();

  // Controls by page-unique name, letter case ignored.
  Control* find(std::string_view name) const;
  const std::vector<Control*>& controls() const { return order_; }
  void registerControl(Control& control);
  void unregisterControl(const Control& control);
  void registerFrame(Frame& frame) { frames_.push_back(&frame); }

  // The control that gets the input focus when the page has loaded.
  void setFocus(const Control& control) { focus_ = control.elementId(); }
  std::string takeFocus() { return std::exchange(focus_, std::string()); }

 private:
  std::string className_;
  std::map<std::string, Control*, std::less<>> controls_;
  std::vector<Control*> order_;
  std::vector<Frame*> frames_;
  std::string focus_;
};

}  // namespace zeziza::web

#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "web/html.h"
#include "web/http_types.h"

namespace zeziza::web {

class Page;
class Control;

// A post that a control refuses (value out of range, malformed, too long): the whole post is
// dropped and the page stays as it was.
class BadPost : public std::runtime_error {
 public:
  explicit BadPost(const std::string& detail, std::string userMessage = kDefaultMessage)
      : std::runtime_error(detail), userMessage_(std::move(userMessage)) {}
  // What the browser is told.
  const std::string& userMessage() const { return userMessage_; }
  static constexpr const char* kDefaultMessage = "提交的数据无效，已忽略。";

 private:
  std::string userMessage_;
};

// What a page asks of the browser besides its HTML: timers to run and the script resources
// (names under /js/) its controls draw with.
struct ClientScriptState {
  struct TimerEntry {
    std::string id;
    int interval;
  };
  std::vector<TimerEntry> timers;
  std::vector<std::string> scripts;
};

// Something that holds controls in order: a page, a region, a frame, a grid.
class Container {
 public:
  virtual ~Container() = default;
  virtual Page& page() = 0;
  // The page-unique name of a child called `name`.
  virtual std::string qualify(std::string_view name) const = 0;
  // False when this container (or one around it) is hidden.
  virtual bool shown() const = 0;
  // Whether children are rendered in order by this container (a grid places them itself).
  virtual bool rendersChildren() const { return true; }

  void add(Control& control) { children_.push_back(&control); }
  void remove(const Control& control);
  const std::vector<Control*>& children() const { return children_; }
  void renderChildren(HtmlWriter& out) const;

 private:
  std::vector<Control*> children_;
};

// A control: state the handlers change, a rendering, a posted value and an event.
class Control {
 public:
  Control(Container& parent, std::string name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  const std::string& fullName() const { return fullName_; }
  // The element id and form field name: the lower-case page-unique name (scripts look up
  // "passwordedit").
  const std::string& elementId() const { return elementId_; }
  Container& parent() const { return parent_; }
  Page& page() const { return parent_.page(); }
  bool effectivelyVisible() const { return Visible && parent_.shown(); }

  bool Visible = true;
  bool Enabled = true;

  virtual void render(HtmlWriter& out) const = 0;
  virtual void collectScript(ClientScriptState&) const {}

  // Posted values: only controls that are shown, enabled and writable take them.
  virtual bool takesPost() const { return false; }
  virtual void checkPost(const PostedForm&) const {}
  virtual void applyPost(const PostedForm&) {}
  // What a browser would post for this control as it stands (used by the page driver).
  virtual void browserPost(PostedForm&) const {}

  // The control's event; `param` is the event parameter the browser sent.
  virtual bool hasEvent() const { return false; }
  virtual void fire(std::string_view param);
  // Refuses an event parameter before any posted value is applied.
  virtual void checkEvent(std::string_view) const {}
  // Called after every request of the page (uploads are forgotten here).
  virtual void endRequest() {}

 protected:
  // Writes ` id="..."` and, for inputs, ` name="..."`.
  void writeIdentity(HtmlWriter& out, bool withName) const;

 private:
  Container& parent_;
  std::string name_;
  std::string fullName_;
  std::string elementId_;
};

// Returns a posted text checked for size and encoding.
const std::string* postedText(const PostedForm& form, const Control& control, std::size_t limit);

}  // namespace zeziza::web

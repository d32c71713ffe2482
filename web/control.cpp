#include "web/control.h"

#include <algorithm>

#include "web/page.h"

namespace zeziza::web {

void Container::remove(const Control& control) {
  children_.erase(std::remove(children_.begin(), children_.end(), &control), children_.end());
}

void Container::renderChildren(HtmlWriter& out) const {
  for (const Control* child : children_) {
    if (child->Visible) child->render(out);
  }
}

Control::Control(Container& parent, std::string name)
    : parent_(parent),
      name_(std::move(name)),
      fullName_(parent.qualify(name_)),
      elementId_(toLower(fullName_)) {
  parent_.page().registerControl(*this);
  parent_.add(*this);
}

Control::~Control() {
  parent_.page().unregisterControl(*this);
  parent_.remove(*this);
}

void Control::fire(std::string_view) {
  throw BadPost("control has no event: " + fullName_);
}

void Control::writeIdentity(HtmlWriter& out, bool withName) const {
  out.attr("id", elementId_);
  if (withName) out.attr("name", elementId_);
}

const std::string* postedText(const PostedForm& form, const Control& control, std::size_t limit) {
  const std::string* value = form.get(control.elementId());
  if (!value) return nullptr;
  if (value->size() > limit) throw BadPost("value too long for " + control.fullName());
  if (!isValidUtf8(*value)) throw BadPost("value is not valid text for " + control.fullName());
  return value;
}

}  // namespace zeziza::web

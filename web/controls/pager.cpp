#include "web/controls/pager.h"

#include <algorithm>

namespace zeziza::web {

void Pager::show(std::size_t rows, std::size_t index) {
  span_ = PageSpan{rows, perPage_, 0};
  span_->index = std::min(index, std::max<std::size_t>(span_->pageCount(), 1) - 1);
}

void Pager::render(HtmlWriter& out) const {
  renderPagerLine(out, {elementId(), elementId(), pageField(), status()}, span());
}

void Pager::checkEvent(std::string_view param) const {
  // The chooser posts no parameter.
  if (pageCount() == 0 || !(param.empty() || isPagerParam(param))) {
    throw BadPost("no such page event in " + fullName());
  }
}

void Pager::checkPost(const PostedForm& form) const {
  if (const auto* value = form.get(pageField())) chosenPage(*value, span(), fullName());
}

void Pager::applyPost(const PostedForm& form) {
  if (const auto* value = form.get(pageField())) chosen_ = chosenPage(*value, span(), fullName());
}

void Pager::browserPost(PostedForm& form) const {
  if (pageCount() > 0) form.fields.emplace(pageField(), std::to_string(span_->index + 1));
}

void Pager::fire(std::string_view param) {
  checkEvent(param);
  if (param.empty()) {
    if (chosen_) turnTo(*chosen_);
    return;
  }
  turnTo(*turnedPage(param, *span_));
}

void Pager::turnTo(std::size_t index) {
  span_->index = index;
  if (OnPageChange) OnPageChange();
}

}  // namespace zeziza::web

#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "web/control.h"
#include "web/controls/paging.h"

namespace zeziza::web {

// The grid's pager line on its own, for a page that reads the rows of the page shown itself
// (by key, or from a cursor): the status text, 【首页】【上页】【下页】【末页】 and the page
// chooser. The page changes are this control's events; OnPageChange then shows span().
class Pager : public Control {
 public:
  Pager(Container& parent, std::string name, std::size_t rowsPerPage)
      : Control(parent, std::move(name)), perPage_(rowsPerPage) {}

  // The status while a result is shown (pages may be none); IdleText before any.
  std::function<std::string(const PageSpan&)> StatusText;
  std::string IdleText;
  std::function<void()> OnPageChange;

  // A result of `rows` rows, showing page `index` (0-based; the last page if there are fewer).
  void show(std::size_t rows, std::size_t index = 0);
  // No result: the idle text alone.
  void reset() { span_.reset(); }
  bool hasResult() const { return span_.has_value(); }
  // The result's place; rows 0 before any result.
  PageSpan span() const { return span_.value_or(PageSpan{0, perPage_, 0}); }

  // The status text shown now.
  std::string status() const { return span_ && StatusText ? StatusText(*span_) : IdleText; }
  // The form field of the page chooser.
  std::string pageField() const { return elementId() + "_page"; }

  void render(HtmlWriter& out) const override;
  bool hasEvent() const override { return pageCount() > 0; }
  void checkEvent(std::string_view param) const override;
  void fire(std::string_view param) override;
  bool takesPost() const override { return pageCount() > 0; }
  void checkPost(const PostedForm& form) const override;
  void applyPost(const PostedForm& form) override;
  void browserPost(PostedForm& form) const override;
  void endRequest() override { chosen_.reset(); }

 private:
  std::size_t pageCount() const { return span_ ? span_->pageCount() : 0; }
  void turnTo(std::size_t index);

  std::size_t perPage_;
  std::optional<PageSpan> span_;
  std::optional<std::size_t> chosen_;  // posted by the chooser for this request
};

}  // namespace zeziza::web

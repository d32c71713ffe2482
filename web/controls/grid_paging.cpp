#include <algorithm>

#include "web/controls/grid.h"

namespace zeziza::web {

bool Grid::paged() const {
  return PageRows > 0 && rowCount() - 1 > PageRows;
}

PageSpan Grid::span() const {
  const auto pages = static_cast<std::size_t>(pageCount());
  const auto index = static_cast<std::size_t>(std::max(page_, 0));
  return {static_cast<std::size_t>(rowCount() - 1), static_cast<std::size_t>(PageRows),
          std::min(index, pages - 1)};
}

int Grid::pageCount() const {
  if (!paged()) return 1;
  return (rowCount() - 1 + PageRows - 1) / PageRows;
}

int Grid::pageIndex() const {
  return std::clamp(page_, 0, pageCount() - 1);
}

std::pair<int, int> Grid::shownRows() const {
  if (!paged()) return {1, rowCount()};
  const PageSpan s = span();
  return {1 + static_cast<int>(s.first()), 1 + static_cast<int>(s.end())};
}

void Grid::renderPager(HtmlWriter& out) const {
  const PageSpan s = span();
  const std::string status = "共 " + std::to_string(s.rows) + " 行，显示第 " +
                             std::to_string(s.first() + 1) + "–" + std::to_string(s.end()) + " 行";
  renderPagerLine(out, {"", elementId(), pageField(), status}, s);
}

void Grid::checkPost(const PostedForm& form) const {
  if (const auto* value = form.get(pageField())) chosenPage(*value, span(), fullName());
}

void Grid::applyPost(const PostedForm& form) {
  if (const auto* value = form.get(pageField())) {
    chosenPage_ = static_cast<int>(chosenPage(*value, span(), fullName()));
  }
}

void Grid::browserPost(PostedForm& form) const {
  if (paged()) form.fields.emplace(pageField(), std::to_string(pageIndex() + 1));
}

void Grid::checkEvent(std::string_view param) const {
  if (param.empty() || isPagerParam(param)) {
    // The chooser posts no parameter; both page when there are pages.
    if (!paged()) throw BadPost("no pages in " + fullName());
    return;
  }
  clickedCell(param);
}

void Grid::fire(std::string_view param) {
  if (param.empty()) {
    if (chosenPage_) page_ = *chosenPage_;
    return;
  }
  if (const auto page = turnedPage(param, span())) {
    page_ = static_cast<int>(*page);
    return;
  }
  const auto [row, column] = clickedCell(param);
  OnCellClick(row, column);
}

}  // namespace zeziza::web

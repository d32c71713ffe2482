#include <algorithm>
#include <charconv>

#include "base/whole_number.h"
#include "web/controls/grid.h"

namespace zeziza::web {

namespace {

constexpr std::string_view kFirst = "page_first";
constexpr std::string_view kPrevious = "page_prev";
constexpr std::string_view kNext = "page_next";
constexpr std::string_view kLast = "page_last";

bool isPagerParam(std::string_view param) {
  return param == kFirst || param == kPrevious || param == kNext || param == kLast;
}

// A pager link; a page that is already there shows as a plain caption.
void pagerLink(HtmlWriter& out, const std::string& grid, std::string_view param,
               std::string_view caption, bool enabled) {
  if (!enabled) {
    out.raw("<span class=\"lnk disabled\">").text(caption).raw("</span>");
    return;
  }
  out.raw("<a href=\"#\" class=\"lnk\"").attr("data-iw-action", grid);
  out.attr("data-iw-param", param).raw(">").text(caption).raw("</a>");
}

}  // namespace

bool Grid::paged() const {
  return PageRows > 0 && rowCount() - 1 > PageRows;
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
  const int first = 1 + pageIndex() * PageRows;
  return {first, std::min(first + PageRows, rowCount())};
}

void Grid::renderPager(HtmlWriter& out) const {
  const auto [first, last] = shownRows();
  const int page = pageIndex();
  const int pages = pageCount();
  out.raw("<div class=\"gridpager\"><span class=\"gridpager-status\">");
  out.text("共 " + std::to_string(rowCount() - 1) + " 行，显示第 " + std::to_string(first) + "–" +
           std::to_string(last - 1) + " 行");
  out.raw("</span>");
  pagerLink(out, elementId(), kFirst, "【首页】", page > 0);
  pagerLink(out, elementId(), kPrevious, "【上页】", page > 0);
  pagerLink(out, elementId(), kNext, "【下页】", page + 1 < pages);
  pagerLink(out, elementId(), kLast, "【末页】", page + 1 < pages);
  out.raw("<span>").text("转到第").raw("</span><select").attr("name", pageField());
  out.attr("class", "srk").attr("data-iw-change", elementId()).raw(">");
  for (int p = 1; p <= pages; ++p) {
    out.raw("<option").attr("value", std::to_string(p));
    if (p == page + 1) out.raw(" selected");
    out.raw(">").text(std::to_string(p)).raw("</option>");
  }
  out.raw("</select><span>").text("页").raw("</span></div>");
}

int Grid::parsePage(const std::string& value) const {
  const auto page = base::exactInteger<int>(value);
  if (!page || *page < 1 || *page > pageCount()) {
    throw BadPost("no such page of " + fullName());
  }
  return *page - 1;
}

void Grid::checkPost(const PostedForm& form) const {
  if (const auto* value = form.get(pageField())) parsePage(*value);
}

void Grid::applyPost(const PostedForm& form) {
  if (const auto* value = form.get(pageField())) chosenPage_ = parsePage(*value);
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

bool Grid::turnPage(std::string_view param) {
  const int page = pageIndex();
  if (param == kFirst) {
    page_ = 0;
  } else if (param == kPrevious) {
    page_ = std::max(page - 1, 0);
  } else if (param == kNext) {
    page_ = std::min(page + 1, pageCount() - 1);
  } else if (param == kLast) {
    page_ = pageCount() - 1;
  } else {
    return false;
  }
  return true;
}

void Grid::fire(std::string_view param) {
  if (param.empty()) {
    if (chosenPage_) page_ = *chosenPage_;
    return;
  }
  if (turnPage(param)) return;
  const auto [row, column] = clickedCell(param);
  OnCellClick(row, column);
}

}  // namespace zeziza::web

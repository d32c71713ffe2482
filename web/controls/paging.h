#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "web/html.h"

namespace zeziza::web {

// Where a pager stands: `rows` rows in all, `perPage` at a time, page `index` (0-based) shown.
struct PageSpan {
  std::size_t rows = 0;
  std::size_t perPage = 1;
  std::size_t index = 0;

  // No rows make no pages.
  std::size_t pageCount() const { return perPage == 0 ? 1 : (rows + perPage - 1) / perPage; }
  // The rows [first, end) of the page shown, 0-based.
  std::size_t first() const;
  std::size_t end() const;
};

// The page a pager link parameter ("page_first", "page_prev", "page_next", "page_last") goes
// to from `span`, never past the first or last; nullopt when `param` names no link.
std::optional<std::size_t> turnedPage(std::string_view param, const PageSpan& span);
bool isPagerParam(std::string_view param);

// The 0-based page a chooser value ("1".."pages") names; throws BadPost for any other.
std::size_t chosenPage(const std::string& value, const PageSpan& span, const std::string& owner);

// The pager line: `status`, then 【首页】【上页】【下页】【末页】 (a link that would go nowhere is
// a plain caption), then the page chooser posted as `field`. Links and chooser act on control
// `action`; without pages only the status is written. `id` names the line when not empty.
struct PagerLine {
  std::string id;
  std::string action;
  std::string field;
  std::string status;
};
void renderPagerLine(HtmlWriter& out, const PagerLine& line, const PageSpan& span);

}  // namespace zeziza::web

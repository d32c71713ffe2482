#include "web/controls/paging.h"

#include <algorithm>

#include "base/whole_number.h"
#include "web/control.h"

namespace zeziza::web {

namespace {

constexpr std::string_view kFirst = "page_first";
constexpr std::string_view kPrevious = "page_prev";
constexpr std::string_view kNext = "page_next";
constexpr std::string_view kLast = "page_last";

// A pager link; a page that is already there shows as a plain caption.
void pagerLink(HtmlWriter& out, const std::string& action, std::string_view param,
               std::string_view caption, bool enabled) {
  if (!enabled) {
    out.raw("<span class=\"lnk disabled\">").text(caption).raw("</span>");
    return;
  }
  out.raw("<a href=\"#\" class=\"lnk\"").attr("data-iw-action", action);
  out.attr("data-iw-param", param).raw(">").text(caption).raw("</a>");
}

void chooser(HtmlWriter& out, const PagerLine& line, std::size_t index, std::size_t pages) {
  out.raw("<span>").text("转到第").raw("</span><select").attr("name", line.field);
  out.attr("class", "srk").attr("data-iw-change", line.action).raw(">");
  for (std::size_t p = 1; p <= pages; ++p) {
    out.raw("<option").attr("value", std::to_string(p));
    if (p == index + 1) out.raw(" selected");
    out.raw(">").text(std::to_string(p)).raw("</option>");
  }
  out.raw("</select><span>").text("页").raw("</span>");
}

}  // namespace

std::size_t PageSpan::first() const {
  return std::min(index * perPage, rows);
}

std::size_t PageSpan::end() const {
  return perPage == 0 ? rows : std::min(first() + perPage, rows);
}

bool isPagerParam(std::string_view param) {
  return param == kFirst || param == kPrevious || param == kNext || param == kLast;
}

std::optional<std::size_t> turnedPage(std::string_view param, const PageSpan& span) {
  const std::size_t last = std::max<std::size_t>(span.pageCount(), 1) - 1;
  const std::size_t index = std::min(span.index, last);
  if (param == kFirst) return 0;
  if (param == kPrevious) return index == 0 ? 0 : index - 1;
  if (param == kNext) return std::min(index + 1, last);
  if (param == kLast) return last;
  return std::nullopt;
}

std::size_t chosenPage(const std::string& value, const PageSpan& span, const std::string& owner) {
  const auto page = base::exactInteger<std::size_t>(value);
  if (!page || *page < 1 || *page > span.pageCount()) {
    throw BadPost("no such page of " + owner);
  }
  return *page - 1;
}

void renderPagerLine(HtmlWriter& out, const PagerLine& line, const PageSpan& span) {
  const std::size_t pages = span.pageCount();
  out.raw("<div");
  if (!line.id.empty()) out.attr("id", line.id);
  out.raw(" class=\"gridpager\"><span class=\"gridpager-status\">").text(line.status);
  out.raw("</span>");
  if (pages > 0) {
    const bool notFirst = span.index > 0;
    const bool notLast = span.index + 1 < pages;
    pagerLink(out, line.action, kFirst, "【首页】", notFirst);
    pagerLink(out, line.action, kPrevious, "【上页】", notFirst);
    pagerLink(out, line.action, kNext, "【下页】", notLast);
    pagerLink(out, line.action, kLast, "【末页】", notLast);
    chooser(out, line, span.index, pages);
  }
  out.raw("</div>");
}

}  // namespace zeziza::web

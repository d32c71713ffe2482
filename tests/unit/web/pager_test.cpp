#include "web/controls/pager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/rendered.h"
#include "web/page.h"

namespace zeziza::web {
namespace {

using testing::count;
using testing::rendered;

std::string statusOf(const PageSpan& s) {
  return std::to_string(s.rows) + " rows, " + std::to_string(s.index + 1) + "/" +
         std::to_string(s.pageCount());
}

class PagerTest : public ::testing::Test {
 protected:
  PagerTest() {
    pager.IdleText = "---";
    pager.StatusText = statusOf;
    pager.OnPageChange = [this] { shown.push_back(pager.span().index); };
  }
  // Posts the chooser's `value` with the pager's event.
  void choose(const std::string& value) {
    PostedForm form;
    form.fields.emplace("pager_page", value);
    pager.checkEvent("");
    pager.checkPost(form);
    pager.applyPost(form);
    pager.fire("");
    pager.endRequest();
  }
  Page page{"TestPage"};
  Pager pager{page, "pager", 30};
  std::vector<std::size_t> shown;
};

TEST(PageSpanTest, PagesAndShownRows) {
  const struct {
    std::size_t rows, perPage, index, pages, first, end;
  } cases[] = {
      {0, 30, 0, 0, 0, 0},    {1, 30, 0, 1, 0, 1},    {30, 30, 0, 1, 0, 30},
      {31, 30, 1, 2, 30, 31}, {61, 30, 2, 3, 60, 61}, {61, 30, 1, 3, 30, 60},
      {45, 20, 2, 3, 40, 45}, {7, 0, 0, 1, 0, 7},  // 0 a page: every row
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.rows) + " rows, " + std::to_string(c.perPage) + " a page");
    const PageSpan span{c.rows, c.perPage, c.index};
    EXPECT_EQ(span.pageCount(), c.pages);
    EXPECT_EQ(span.first(), c.first);
    EXPECT_EQ(span.end(), c.end);
  }
}

TEST(PageSpanTest, LinksStayWithinThePages) {
  const struct {
    const char* param;
    std::size_t index;
    std::optional<std::size_t> to;
  } cases[] = {
      {"page_first", 2, 0},  {"page_prev", 2, 1},         {"page_prev", 0, 0},
      {"page_next", 0, 1},   {"page_next", 2, 2},         {"page_last", 0, 2},
      {"", 1, std::nullopt}, {"page_2", 1, std::nullopt}, {"1_1", 1, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.param) + " from " + std::to_string(c.index));
    EXPECT_EQ(turnedPage(c.param, {61, 30, c.index}), c.to);
    EXPECT_EQ(isPagerParam(c.param), c.to.has_value());
  }
}

TEST(PageSpanTest, TheChooserTakesOnlyAPageThatExists) {
  const PageSpan span{61, 30, 0};
  EXPECT_EQ(chosenPage("1", span, "p"), 0u);
  EXPECT_EQ(chosenPage("3", span, "p"), 2u);
  for (const char* bad : {"0", "4", "-1", "", " 2", "2 ", "1.5", "x", "99999999999999999999"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(chosenPage(bad, span, "p"), BadPost);
  }
  EXPECT_THROW(chosenPage("1", {0, 30, 0}, "p"), BadPost);  // no rows, no pages
}

TEST_F(PagerTest, BeforeAResultOnlyTheIdleTextAndNoEvents) {
  EXPECT_EQ(rendered(pager),
            "<div id=\"pager\" class=\"gridpager\"><span class=\"gridpager-status\">---</span>"
            "</div>");
  EXPECT_FALSE(pager.hasEvent());
  EXPECT_FALSE(pager.takesPost());
  EXPECT_THROW(pager.checkEvent("page_next"), BadPost);
  pager.show(0);  // a result without rows: its status, still no pages
  EXPECT_NE(rendered(pager).find("0 rows, 1/0"), std::string::npos);
  EXPECT_EQ(rendered(pager).find("<select"), std::string::npos);
  EXPECT_THROW(pager.checkEvent(""), BadPost);
}

// Each page: its status, which links go somewhere, the chooser's options and selection.
TEST_F(PagerTest, RendersEachPageWithItsLinksAndChooser) {
  pager.show(61);
  const struct {
    const char* param;
    std::size_t index;
    const char* status;
  } steps[] = {
      {"page_last", 2, "61 rows, 3/3"}, {"page_next", 2, "61 rows, 3/3"},
      {"page_prev", 1, "61 rows, 2/3"}, {"page_first", 0, "61 rows, 1/3"},
      {"page_prev", 0, "61 rows, 1/3"}, {"page_next", 1, "61 rows, 2/3"},
  };
  std::vector<std::size_t> expected;
  for (const auto& s : steps) {
    SCOPED_TRACE(std::string(s.param) + " to " + std::to_string(s.index));
    pager.checkEvent(s.param);
    pager.fire(s.param);
    expected.push_back(s.index);
    EXPECT_EQ(pager.span().index, s.index);
    const std::string html = rendered(pager);
    EXPECT_NE(html.find(std::string("gridpager-status\">") + s.status + "</span>"),
              std::string::npos)
        << html;
    const bool first = s.index == 0;
    const bool last = s.index == 2;
    EXPECT_EQ(html.find("data-iw-param=\"page_first\"") != std::string::npos, !first);
    EXPECT_EQ(html.find("data-iw-param=\"page_prev\"") != std::string::npos, !first);
    EXPECT_EQ(html.find("data-iw-param=\"page_next\"") != std::string::npos, !last);
    EXPECT_EQ(html.find("data-iw-param=\"page_last\"") != std::string::npos, !last);
    // A link that would go nowhere is its caption alone.
    EXPECT_EQ(count(html, "<span class=\"lnk disabled\">"), first || last ? 2 : 0);
    EXPECT_NE(
        html.find("<select name=\"pager_page\" class=\"srk\" data-iw-change=\"pager\">"
                  "<option value=\"1\"" +
                  std::string(first ? " selected" : "") + ">1</option><option value=\"2\"" +
                  std::string(s.index == 1 ? " selected" : "") + ">2</option><option value=\"3\"" +
                  std::string(last ? " selected" : "") + ">3</option></select>"),
        std::string::npos)
        << html;
  }
  EXPECT_EQ(shown, expected);
}

TEST_F(PagerTest, TheChooserTurnsToAPageAndRefusesOneThatDoesNotExist) {
  pager.show(61);
  choose("3");
  EXPECT_EQ(pager.span().index, 2u);
  PostedForm posted;
  pager.browserPost(posted);
  EXPECT_EQ(posted.value("pager_page"), "3");
  EXPECT_THROW(choose("4"), BadPost);
  EXPECT_THROW(choose("0"), BadPost);
  EXPECT_EQ(pager.span().index, 2u);
  EXPECT_EQ(shown, std::vector<std::size_t>{2});
  pager.fire("");  // an event without a chosen page stays where it is
  EXPECT_EQ(pager.span().index, 2u);
  EXPECT_THROW(pager.checkEvent("1_1"), BadPost);
}

TEST_F(PagerTest, ANewResultStartsAtTheAskedPageWithinItsPages) {
  pager.show(61, 2);
  EXPECT_EQ(pager.span().index, 2u);
  pager.show(40, 2);  // fewer rows now: the last page
  EXPECT_EQ(pager.span().index, 1u);
  pager.show(0, 2);
  EXPECT_EQ(pager.span().index, 0u);
  pager.reset();
  EXPECT_FALSE(pager.hasResult());
  EXPECT_NE(rendered(pager).find(">---<"), std::string::npos);
}

}  // namespace
}  // namespace zeziza::web

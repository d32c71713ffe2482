// The score query over results of many pages: the page keeps only the rows' keys and reads the
// rows it shows or exports again, so every page, the statistics and the sheet are checked against
// the whole search read directly, as the page held it before.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/statistics_text.h"
#include "export/sheet_layout.h"
#include "export/workbook_file.h"
#include "export/workbook_writer.h"
#include "pages/analysis/score_query.h"
#include "pages/analysis/score_query_statement.h"
#include "pages/analysis/score_scale.h"
#include "pages/analysis/score_statistics.h"
#include "store/connection.h"
#include "store/query.h"
#include "tests/support/page_driver.h"
#include "tests/support/xlsx_reader.h"
#include "web/controls/db_grid.h"
#include "web/controls/grid.h"
#include "web/controls/lists.h"
#include "web/controls/pager.h"

namespace zeziza::testing {
namespace {

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;

const std::vector<std::string> kSubjects = {"数学", "语文", "英语"};

// One score row as stored, in the order stored.
struct Stored {
  std::string id;  // 考号
  std::int64_t bh = 0;
  double k1 = 0, k2 = 0, k3 = 0;
  double zf() const { return k1 + k2 + k3; }
};

// Students are added in one order and their 期中 rows stored in another, so that 不排序 and
// 按考号 differ; the scores are coarse, so every sort column has many ties.
class ScoreQueryBigResultTest : public ::testing::Test {
 protected:
  ScoreQueryBigResultTest() {
    web::Session& u = browser.user();
    u.login.rights = 0;
    u.login.subjects = store::numberSubjects(kSubjects);
    u.login.exams = {"期中", "期末"};
    u.login.grades = {"七年级"};
    u.login.defaultExam = "期中";
  }

  // `count` students with a 期中 row each, and a 期末 row for every third of them.
  void addRows(int count) {
    store::Database& db = server.db();
    db.exec("begin");
    std::vector<std::pair<std::int64_t, std::string>> students;
    for (int i = 0; i < count; ++i) {
      // 考号 not in the order of the internal numbers.
      const std::string id = "K" + std::to_string((i * 7919) % 100000 + 100000);
      db.exec("insert into ks (id, xm, xx, nj, bj) values (?, ?, '东校区', '七年级', '一班')",
              {id, "学生" + std::to_string(i)});
      students.emplace_back(db.lastInsertId(), id);
    }
    for (int i = 0; i < count; ++i) {
      const auto& [bh, id] = students[static_cast<std::size_t>((i * 37) % count)];
      Stored row{id, bh, 50.0 + (i * 7 % 11) * 5, i % 4 == 0 ? 0 : 60.0 + i % 3,
                 70.0 + i % 5 * 0.5};
      store(db, "期中", row);
      stored.push_back(row);
    }
    for (int i = 0; i < count; i += 3) {
      store(db, "期末", {students[i].second, students[i].first, 99, 98.5, 97});
    }
    db.exec("commit");
  }

  void open() { browser.showPage<pages::ScoreQueryPage>(); }

  void search(const std::string& exam, const std::string& sort, bool descending) {
    browser.choose("examBox", exam);
    browser.choose("sortBox", sort);
    browser.choose("directionBox", descending ? "降序排列" : "升序排列");
    browser.click("queryButton");
    ASSERT_EQ(browser.message(), "");
  }

  // The whole search read directly, its subject columns named, as the page held it before.
  store::Query wholeSearch(const pages::ScoreQueryFilter& filter) {
    store::Query whole(connection);
    const auto statement = pages::scoreQueryStatement(filter, browser.user().login.subjects);
    whole.open(statement.sql, statement.params);
    pages::nameSubjectColumns(whole, browser.user().login.subjects);
    return whole;
  }

  std::string status() { return browser.control<web::Pager>("resultPager").status(); }
  // The 考号 cells of the result grid as the browser got it.
  Row shownIds() {
    const std::string& html = browser.last().html;
    const auto begin = html.find("id=\"resultsgrid\"");
    const auto end = html.find("</table>", begin);
    Row ids;
    for (auto row = html.find("<tr><td>", begin); row < end; row = html.find("<tr><td>", row + 1)) {
      const auto id = html.find("<td>", row + 8) + 4;
      ids.push_back(html.substr(id, html.find("</td>", id) - id));
    }
    return ids;
  }
  // The grid's query, the page's own, which holds the page shown and nothing else.
  const store::Query& shownRows() {
    return *browser.control<web::DBGrid>("resultsGrid").DataSource;
  }
  // The shown rows in the search's columns: 缺考, read with the shown rows only, is left out.
  std::vector<std::vector<store::Value>> heldRows() {
    const std::size_t mark = shownRows().fieldIndex("缺考");
    std::vector<std::vector<store::Value>> rows = shownRows().rows();
    for (auto& row : rows) row.erase(row.begin() + static_cast<std::ptrdiff_t>(mark));
    return rows;
  }

  TestServer server;
  BrowserSession browser = server.browser();
  store::Connection connection{server.folder() / "data"};
  std::vector<Stored> stored;

 private:
  static void store(store::Database& db, const std::string& exam, const Stored& row) {
    db.exec("insert into cj (ks, kh, k1, k2, k3, zf, pj, test) values (?, ?, ?, ?, ?, ?, ?, ?)",
            {exam, row.bh, row.k1, row.k2, row.k3, row.zf(), row.zf() / 3,
             exam + "!&" + std::to_string(row.bh)});
  }
};

// 227 rows: eight pages, the last of 17. Each sort's pages are checked at both ends and in the
// middle, by the paging links and the chooser, against the order the sort must give (equal
// values in stored order) and against the whole search read directly.
TEST_F(ScoreQueryBigResultTest, EveryPageShowsItsRowsInEverySortOrder) {
  addRows(227);
  open();
  using Key = std::function<double(const Stored&)>;
  const struct {
    std::string sort;
    bool descending;
    int sortItem;
    Key key;  // none: stored order
  } sorts[] = {
      {"不排序", false, 0, nullptr},
      {"按考号", false, 1, [](const Stored& s) { return static_cast<double>(s.bh); }},
      {"按总分", false, 2, [](const Stored& s) { return s.zf(); }},
      {"按总分", true, 2, [](const Stored& s) { return s.zf(); }},
      {"按数学", true, 4, [](const Stored& s) { return s.k1; }},
      {"按语文", false, 5, [](const Stored& s) { return s.k2; }},
  };
  const struct {
    std::string link, choice;
    std::size_t page;  // 1-based
  } steps[] = {{"page_next", "", 2}, {"page_last", "", 8}, {"page_next", "", 8},
               {"page_prev", "", 7}, {"", "4", 4},         {"page_first", "", 1},
               {"page_prev", "", 1}};
  for (const auto& sort : sorts) {
    SCOPED_TRACE(sort.sort + (sort.descending ? " desc" : ""));
    std::vector<Stored> expected = stored;
    if (sort.key) {
      std::stable_sort(expected.begin(), expected.end(), [&](const Stored& a, const Stored& b) {
        return sort.descending ? sort.key(a) > sort.key(b) : sort.key(a) < sort.key(b);
      });
    }
    pages::ScoreQueryFilter filter;
    filter.exam = "期中";
    filter.sortItem = sort.sortItem;
    filter.descending = sort.descending;
    const store::Query whole = wholeSearch(filter);
    ASSERT_EQ(whole.recordCount(), 227u);

    search("期中", sort.sort, sort.descending);
    EXPECT_EQ(status(), "共有227条符合条件的记录  [第1页/共8页]");
    auto check = [&](std::size_t page) {
      SCOPED_TRACE("page " + std::to_string(page));
      const std::size_t first = (page - 1) * 30;
      const std::size_t last = std::min<std::size_t>(first + 30, 227);
      EXPECT_EQ(status(), "共有227条符合条件的记录  [第" + std::to_string(page) + "页/共8页]");
      Row ids;
      for (std::size_t r = first; r < last; ++r) ids.push_back(expected[r].id);
      EXPECT_EQ(shownIds(), ids);
      EXPECT_EQ(heldRows(), std::vector<std::vector<store::Value>>(whole.rows().begin() + first,
                                                                   whole.rows().begin() + last));
    };
    check(1);
    for (const auto& step : steps) {
      if (step.choice.empty()) {
        browser.click("resultPager", step.link);
      } else {
        browser.choosePage("resultPager", step.choice);
      }
      check(step.page);
    }
  }
}

// Every exam: a student's rows of both exams, ties across them; every page by 【下页】.
TEST_F(ScoreQueryBigResultTest, AllExamsPagedThroughMatchTheWholeSearch) {
  addRows(100);
  open();
  pages::ScoreQueryFilter filter;
  filter.sortItem = 2;
  filter.descending = true;
  const store::Query whole = wholeSearch(filter);
  ASSERT_EQ(whole.recordCount(), 134u);
  search("全部考试", "按总分", true);
  for (std::size_t page = 1; page <= 5; ++page) {
    SCOPED_TRACE(page);
    EXPECT_EQ(status(), "共有134条符合条件的记录  [第" + std::to_string(page) + "页/共5页]");
    const std::size_t first = (page - 1) * 30;
    const std::size_t last = std::min<std::size_t>(first + 30, 134);
    EXPECT_EQ(heldRows(), std::vector<std::vector<store::Value>>(whole.rows().begin() + first,
                                                                 whole.rows().begin() + last));
    browser.click("resultPager", "page_next");
  }
}

// The panel's figures are those of the whole search, as the statistics over a result held whole
// gave them; with 全部考试, exam by exam, each row named by its exam.
TEST_F(ScoreQueryBigResultTest, StatisticsCoverTheWholeSearch) {
  server.context().settings().update([](auto& s) { s.bands = {"60", "70", "80", "90"}; });
  addRows(227);
  open();
  search("全部考试", "按数学", true);
  std::vector<pages::SubjectRecord> records;
  std::vector<std::string> bandCaptions;
  for (const std::string exam : {"期中", "期末"}) {
    pages::ScoreQueryFilter filter;
    filter.exam = exam;
    filter.sortItem = 4;
    filter.descending = true;
    const store::Query whole = wholeSearch(filter);
    browser.run([&] {
      const pages::ScoreScale scale = pages::sessionScoreScale();
      for (auto& record : pages::subjectRecords(
               whole, kSubjects, [&](const std::string& s) { return scale.limits(s); },
               [] { return 227; })) {
        record.subject = exam + " " + record.subject;
        records.push_back(std::move(record));
      }
      bandCaptions = scale.sharedBandCaptions(kSubjects);
    });
  }
  Rows summary, bands;
  for (const auto& record : records) {
    ASSERT_TRUE(record.stats.has_value()) << record.subject;
    summary.push_back({record.subject});
    for (const auto& row : analysis::statisticsRows(*record.stats)) {
      summary.back().push_back(row.text);
    }
    bands.push_back({record.subject, std::to_string(record.stats->enrolled),
                     std::to_string(record.stats->participants)});
    for (const auto& count : analysis::bandCountTexts(*record.stats)) {
      bands.back().push_back(count);
    }
  }
  // Each student once per exam: 227 sat 期中, 76 of them 期末 too.
  EXPECT_EQ(records[0].stats->participants, 227);
  EXPECT_EQ(records[3].stats->participants, 76);
  auto body = [&](const std::string& name) {
    const auto& g = browser.control<web::Grid>(name);
    Rows rows;
    for (int r = 1; r < g.rowCount(); ++r) {
      rows.emplace_back();
      for (int c = 0; c < g.columnCount(); ++c) rows.back().push_back(g.cell(r, c).Text);
    }
    return rows;
  };
  EXPECT_EQ(body("summaryGrid"), summary);
  EXPECT_EQ(body("bandsGrid"), bands);
  EXPECT_EQ(browser.control<web::Grid>("bandsGrid").cell(0, 3).Text, bandCaptions.front());
}

// 2,100 rows and more by 总分, highest first: the sheet is the one the whole result gives, every
// row in order, whichever page is shown.
TEST_F(ScoreQueryBigResultTest, ExportHasEveryRowOfABigResultInOrder) {
  addRows(2100);
  open();
  search("全部考试", "按总分", true);
  browser.click("resultPager", "page_last");
  const auto& outcome = browser.click("exportLink");
  ASSERT_EQ(outcome.kind, web::EventOutcome::Kind::File);
  const auto sheet = readWorkbook(outcome.file->path);

  pages::ScoreQueryFilter filter;
  filter.sortItem = 2;
  filter.descending = true;
  const store::Query whole = wholeSearch(filter);
  ASSERT_EQ(whole.recordCount(), 2800u);
  // The whole search has every column but 缺考, which only rows read by key carry.
  auto layout =
      spreadsheet::scoreQueryLayout({"全部考试", "所有学校", "所有年级", "所有班"}, kSubjects);
  const std::size_t mark = layout.columns.size() - 1;
  layout.columns.pop_back();
  layout.headingRows.back().pop_back();
  const auto file = spreadsheet::freshWorkbookFile(server.folder());
  spreadsheet::writeWorkbook(whole, layout, file);
  const auto expected = readWorkbook(file);
  ASSERT_EQ(sheet.rows.size(), 2802u);
  auto shown = sheet.rows;
  for (std::size_t r = 1; r < shown.size(); ++r) {
    if (shown[r].size() > mark) shown[r].resize(mark);
  }
  EXPECT_EQ(shown, expected.rows);
  EXPECT_EQ(status(), "共有2800条符合条件的记录  [第94页/共94页]");
}

// Rows are read again when shown: a row deleted since the search is left out, a changed score
// shows as it is now; the count of the search stays.
TEST_F(ScoreQueryBigResultTest, RowsChangedSinceTheSearchAreReadAsTheyAreNow) {
  addRows(40);
  open();
  search("期中", "不排序", false);
  ASSERT_EQ(shownIds().size(), 30u);
  server.db().exec("delete from cj where ks='期中' and kh=?", {stored[1].bh});
  server.db().exec("update cj set k1=1 where ks='期中' and kh=?", {stored[0].bh});
  browser.click("resultPager", "page_first");
  Row ids;
  for (std::size_t r = 0; r < 30; ++r) {
    if (r != 1) ids.push_back(stored[r].id);
  }
  EXPECT_EQ(shownIds(), ids);
  EXPECT_EQ(shownRows().field("数学").asDouble(), 1);
  EXPECT_EQ(status(), "共有40条符合条件的记录  [第1页/共2页]");
  const auto& outcome = browser.click("exportLink");
  ASSERT_EQ(outcome.kind, web::EventOutcome::Kind::File);
  EXPECT_EQ(readWorkbook(outcome.file->path).rows.size(), 2u + 39u);
}

}  // namespace
}  // namespace zeziza::testing

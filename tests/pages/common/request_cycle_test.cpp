#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "store/database.h"
#include "tests/support/page_driver.h"
#include "tests/support/smoke_page.h"
#include "tests/support/temp_folder.h"

namespace zeziza::testing {
namespace {

class RequestCycleTest : public ::testing::Test {
 protected:
  TestServer server{[] { return std::make_unique<SmokePage>(); }};
  BrowserSession browser = server.browser();
  SmokePage& page() { return browser.page<SmokePage>(); }
};

TEST_F(RequestCycleTest, FramesAreCreatedBeforeThePage) {
  EXPECT_EQ(page().traceLabel.Caption, "ready:frame created");
  EXPECT_EQ(page().frame.created.fullName(), "Frame1.created");
  EXPECT_NE(browser.last().html.find("id=\"frame1.clicks\""), std::string::npos);
  browser.click("Frame1.Clicks");
  EXPECT_EQ(page().frame.created.Caption, "frame clicked");
}

TEST_F(RequestCycleTest, PostedValuesReachTheHandler) {
  browser.type("textEdit", "张三");
  browser.click("clickButton");
  EXPECT_EQ(page().traceLabel.Caption, "clicked 1:张三");
  EXPECT_EQ(browser.message(), "你好 张三");
  // The message is shown once, with the answer that followed the click.
  browser.submit();
  EXPECT_TRUE(browser.messages().empty());
}

// Each input kind as a browser posts it, and the state it leaves.
TEST_F(RequestCycleTest, EveryInputKindTakesItsPostedValue) {
  browser.type("textMemo", "第一行\r\n第二行\r\n");
  browser.choose("choiceBox", "西校区");
  browser.type("choiceListBox", "1");
  browser.type("tickBox", "on");
  browser.type("Password", "secret");
  browser.submit();
  EXPECT_EQ(page().textMemo.Lines, (std::vector<std::string>{"第一行", "第二行"}));
  EXPECT_EQ(page().choiceBox.ItemIndex, 2);
  EXPECT_EQ(page().choiceBox.text(), "西校区");
  EXPECT_EQ(page().choiceListBox.ItemIndex, 1);
  EXPECT_TRUE(page().tickBox.Checked);
  EXPECT_EQ(page().Password.Text, "secret");
  EXPECT_EQ(browser.last().html.find("secret"), std::string::npos);  // never echoed back

  // An unticked box is absent from the post.
  auto form = browser.formFor("");
  form.fields.erase("tickbox");
  browser.post(form);
  EXPECT_FALSE(page().tickBox.Checked);
}

TEST_F(RequestCycleTest, EventsOfEveryKind) {
  browser.choose("choiceBox", "东校区");
  browser.click("choiceBox");
  EXPECT_EQ(page().changes, 1);
  browser.click("cellGrid", "1_1");
  EXPECT_EQ(page().lastCell, "1,1");
  browser.click("rowGrid", "1:8");
  EXPECT_EQ(page().lastLink, "8");
  browser.click("tickTimer");
  EXPECT_EQ(page().ticks, 1);
  browser.click("Confirmed");
  EXPECT_EQ(page().traceLabel.Caption, "confirmed");
}

TEST_F(RequestCycleTest, RenderingEscapesTextsButNotRawCaptions) {
  browser.type("textEdit", "<script>alert(1)</script>");
  page().RawLabel.Caption = "<b>bold</b>";
  page().RawLabel.RawText = true;
  browser.click("clickButton");
  const std::string& html = browser.last().html;
  EXPECT_EQ(html.find("<script>alert(1)"), std::string::npos);
  EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
  EXPECT_NE(html.find("<b>bold</b>"), std::string::npos);
  EXPECT_NE(html.find("&lt;b&gt;eight&lt;/b&gt;"), std::string::npos);  // a data grid cell
  EXPECT_NE(html.find("line &lt;2&gt;"), std::string::npos);
  // The message travels as JSON that cannot close its script element.
  EXPECT_NE(html.find("\\u003cscript>alert(1)\\u003c/script>"), std::string::npos);
}

TEST_F(RequestCycleTest, AHandlerExceptionBecomesAnAlertAndTheSessionGoesOn) {
  browser.click("Thrower");
  EXPECT_EQ(browser.message(), "handler failed");
  EXPECT_EQ(browser.pageClass(), "SmokePage");
  browser.click("clickButton");
  EXPECT_EQ(page().clicks, 1);
}

// A real "database or disk is full" from SQLite: the alert says what happened and that nothing
// was saved, in Chinese, and never shows the statement.
TEST_F(RequestCycleTest, AFullStoreIsToldInWordsWithoutTheStatement) {
  TempFolder temp;
  page().Thrower.OnClick = [&] {
    store::Database db(temp.path() / "small");
    db.execScript("CREATE TABLE t (x); PRAGMA max_page_count=2;");
    db.exec("INSERT INTO t VALUES (zeroblob(100000))");
  };
  browser.click("Thrower");
  EXPECT_EQ(browser.message(), "磁盘空间不足，本次操作未保存。");
  EXPECT_EQ(browser.pageClass(), "SmokePage");
}

TEST_F(RequestCycleTest, AnOutdatedPostIsNotAppliedAndResyncs) {
  auto stale = browser.formFor("clickButton");
  browser.submit();  // the page is rendered anew; the saved form is now outdated
  stale.fields.erase("textedit");
  stale.fields.emplace("textedit", "stale");
  browser.post(stale);
  EXPECT_EQ(browser.message(), "页面已过期，您的输入未保存，请在当前页面重新操作。");
  EXPECT_EQ(page().clicks, 0);
  EXPECT_EQ(page().textEdit.Text, "");
}

// Forged or malformed posts change nothing of the page.
TEST_F(RequestCycleTest, BadInputIsRefusedWithoutChangingThePage) {
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::string>> fields;
    bool message;
  } cases[] = {
      {"unknown control", {{"IW_Action", "nosuch"}}, false},
      {"control without event", {{"IW_Action", "tracelabel"}}, false},
      {"disabled edit", {{"disabled", "forged"}}, false},
      {"hidden edit", {{"hidden", "forged"}}, false},
      {"combo index out of range", {{"choicebox", "3"}}, true},
      {"combo index not a number", {{"choicebox", "1x"}}, true},
      {"grid cell not clickable", {{"IW_Action", "cellgrid"}, {"IW_ActionParam", "0_0"}}, true},
      {"grid cell malformed", {{"IW_Action", "cellgrid"}, {"IW_ActionParam", "1-1"}}, true},
      {"data grid value not shown", {{"IW_Action", "rowgrid"}, {"IW_ActionParam", "1:99"}}, true},
      {"edit text not UTF-8", {{"textedit", "\xff\xfe"}}, true},
      {"edit text too long", {{"textedit", std::string(5000, 'x')}}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto form = browser.formFor("");
    // A refused post drops every value it carries, the good ones too.
    if (c.message) {
      form.fields.erase("textmemo");
      form.fields.emplace("textmemo", "changed");
    }
    for (const auto& [name, value] : c.fields) {
      form.fields.erase(name);
      form.fields.emplace(name, value);
    }
    browser.post(form);
    EXPECT_EQ(page().clicks, 0);
    EXPECT_EQ(page().Disabled.Text, "");
    EXPECT_EQ(page().Hidden.Text, "");
    EXPECT_EQ(page().choiceBox.ItemIndex, -1);
    EXPECT_EQ(page().textEdit.Text, "");
    EXPECT_EQ(page().lastCell, "");
    EXPECT_TRUE(page().textMemo.Lines.empty());
    EXPECT_EQ(browser.messages().size(), c.message ? 1u : 0u);
  }
}

TEST_F(RequestCycleTest, ReadingAnUnchosenComboFailsAsAnAlert) {
  page().clickButton.OnClick = [this] { web::ShowMessage(page().choiceBox.text()); };
  browser.click("clickButton");
  EXPECT_EQ(browser.message(), "List index out of bounds (-1)");
}

TEST_F(RequestCycleTest, ShowPageSwitchesAndReleasesThePage) {
  browser.click("Next");
  EXPECT_EQ(browser.pageClass(), "SmokeNextPage");
  browser.click("Back");
  EXPECT_EQ(browser.pageClass(), "SmokePage");
  EXPECT_EQ(page().clicks, 0);  // a new page object
}

TEST_F(RequestCycleTest, AFileAnswerKeepsThePage) {
  const auto& outcome = browser.click("Download");
  ASSERT_EQ(outcome.kind, web::EventOutcome::Kind::File);
  EXPECT_EQ(outcome.file->downloadName, "成绩.txt");
  EXPECT_TRUE(std::filesystem::exists(outcome.file->path));
  EXPECT_EQ(browser.pageClass(), "SmokePage");
  browser.click("clickButton");  // the page is still current
  EXPECT_EQ(page().clicks, 1);
}

TEST_F(RequestCycleTest, AnUploadReachesTheHandlerOnce) {
  std::string seen;
  page().clickButton.OnClick = [&] {
    const auto& f = page().fileUpload.uploaded();
    seen = f ? f->filename + ":" + f->content : "none";
  };
  browser.attach("fileUpload", {"", "a.txt", "text/plain", "abc"});
  browser.click("clickButton");
  EXPECT_EQ(seen, "a.txt:abc");
  browser.click("clickButton");
  EXPECT_EQ(seen, "none");
}

TEST_F(RequestCycleTest, FocusIsNamedInTheAnswerOnce) {
  page().clickButton.OnClick = [this] { page().setFocus(page().textEdit); };
  browser.click("clickButton");
  EXPECT_NE(browser.last().html.find("\"focus\":\"textedit\""), std::string::npos);
  browser.submit();
  EXPECT_NE(browser.last().html.find("\"focus\":\"\""), std::string::npos);
}

// A page whose handler notes whether another request of the session is inside it.
class SlowPage : public web::Page {
 public:
  SlowPage() : web::Page("SlowPage") {
    Go.OnClick = [this] {
      if (inside.exchange(true)) overlapped = true;
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      inside = false;
      ++done;
    };
  }
  web::Button Go{*this, "Go"};
  static inline std::atomic<bool> inside{false};
  static inline std::atomic<bool> overlapped{false};
  static inline std::atomic<int> done{0};
};

TEST(SessionSerialisation, ASecondRequestOfASessionWaitsForTheFirst) {
  TestServer server{[] { return std::make_unique<SlowPage>(); }};
  auto browser = server.browser();
  std::vector<web::PostedForm> forms(4, browser.formFor("Go"));
  std::vector<std::thread> threads;
  for (auto& form : forms) {
    threads.emplace_back([&] {
      server.controller().sessions().postEvent(form, form.value("IW_SessionID_"), "127.0.0.1");
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_FALSE(SlowPage::overlapped);
  EXPECT_GE(SlowPage::done, 1);  // later posts carry an outdated track id and resync
}

}  // namespace
}  // namespace zeziza::testing

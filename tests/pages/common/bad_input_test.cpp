// Hostile text in every field of the score entry and roster pages: a clear message or a
// stored text, never a crash, a statement error or a changed page structure.
#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <set>

#include "pages/entry/score_entry.h"
#include "pages/master/roster.h"
#include "tests/pages/entry/entry_fixture.h"

namespace zeziza::testing {
namespace {

const std::vector<std::pair<std::string, std::string>>& hostileTexts() {
  static const std::vector<std::pair<std::string, std::string>> texts = {
      {"quotes", "801' or '1'='1\"; drop table cj; --"},
      {"percent", "%_%"},
      {"script", "<script>alert(1)</script>"},
      {"invalid UTF-8", "\xff\xfe\xc0"},
      {"NUL byte", std::string("80\0 1", 5)},
      {"1 MB", std::string(1024 * 1024, '9')},
  };
  return texts;
}

// The element ids of a rendered page: its structure.
std::set<std::string> elementIds(const std::string& html) {
  std::set<std::string> ids;
  static const std::regex id(" id=\"([^\"]+)\"");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), id); it != std::sregex_iterator();
       ++it) {
    ids.insert((*it)[1].str());
  }
  return ids;
}

int scriptElements(const std::string& html) {
  int n = 0;
  for (auto at = html.find("<script"); at != std::string::npos; at = html.find("<script", at + 1)) {
    ++n;
  }
  return n;
}

struct FieldCase {
  std::string panelLink;  // clicked first to show the field's panel ("" for none)
  std::string field;
  std::string button;
};

class BadInputTest : public EntryTest {
 protected:
  BadInputTest() { addStudent("801", "张三"); }

  // The page after `text` was typed into the field and its button clicked; `before` gets the
  // structure of the page as it was before the click.
  template <class P>
  BrowserSession act(const FieldCase& f, const std::string& code, const std::string& text,
                     std::set<std::string>* before = nullptr) {
    auto b = server.browser();
    signIn(b, code, "boss");
    b.showPage<P>();
    if (!f.panelLink.empty()) b.click(f.panelLink);
    if (before) *before = elementIds(b.last().html);
    b.type(f.field, text);
    b.click(f.button);
    return b;
  }

  // Each hostile text leaves the page as a harmless text would (same structure), or is refused
  // with a message and the page stays as it was; never a new script, a statement error or a
  // score.
  template <class P>
  void check(const std::vector<FieldCase>& fields, const std::string& code) {
    for (const auto& f : fields) {
      const auto reference = act<P>(f, code, "x");
      for (const auto& [what, text] : hostileTexts()) {
        SCOPED_TRACE(f.field + " ← " + what);
        std::optional<BrowserSession> b;
        std::set<std::string> before;
        ASSERT_NO_THROW(b.emplace(act<P>(f, code, text, &before)));
        EXPECT_EQ(b->pageClass(), reference.pageClass());
        const auto ids = elementIds(b->last().html);
        const bool refused = ids == before && !b->messages().empty();
        EXPECT_TRUE(ids == elementIds(reference.last().html) || refused);
        EXPECT_EQ(scriptElements(b->last().html), scriptElements(reference.last().html));
        for (const auto& m : b->messages()) {
          EXPECT_EQ(m.find("SQL"), std::string::npos) << m;
          EXPECT_EQ(m.find("syntax"), std::string::npos) << m;
          EXPECT_EQ(m.find("no such"), std::string::npos) << m;
        }
        EXPECT_EQ(rowCount(), 0);  // nothing hostile became a score
      }
    }
  }
};

TEST_F(BadInputTest, ScoreEntryFields) {
  check<pages::ScoreEntryPage>({{"", "numberPrefixEdit", "directEnterButton"},
                                {"", "directNumberEdit", "directEnterButton"},
                                {"", "directScoreEdit", "directEnterButton"},
                                {"computedModeLink", "fullMarkEdit", "computedEnterButton"},
                                {"computedModeLink", "computedNumberEdit", "computedEnterButton"},
                                {"computedModeLink", "deductionsMemo", "computedEnterButton"},
                                {"passwordLink", "oldPasswordEdit", "changePasswordButton"},
                                {"passwordLink", "newPasswordEdit", "changePasswordButton"},
                                {"passwordLink", "repeatPasswordEdit", "changePasswordButton"}},
                               "2");
}

TEST_F(BadInputTest, RosterFields) {
  check<pages::RosterPage>({{"", "namePartEdit", "queryButton"},
                            {"addStudentsLink", "numbersMemo", "addButton"},
                            {"addStudentsLink", "namesMemo", "addButton"}},
                           "0");
}

}  // namespace
}  // namespace zeziza::testing

#include "store/comma_text.h"

#include <gtest/gtest.h>

#include "store/list_value.h"

namespace zeziza::store {
namespace {

using Items = std::vector<std::string>;

TEST(CommaText, Writing) {
  const struct {
    Items items;
    std::string text;
  } cases[] = {
      {{}, ""},
      {{"a"}, "a"},
      {{"a", "b", "c"}, "a,b,c"},
      {{"中心 校区", "东校区"}, "\"中心 校区\",东校区"},
      {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
      {{"a,b"}, "\"a,b\""},
      {{"tab\there"}, "\"tab\there\""},
      {{""}, ""},
      {{"a", ""}, "a,"},
      {{"一班", "二班"}, "一班,二班"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(toCommaText(c.items), c.text);
  }
}

TEST(CommaText, Parsing) {
  const struct {
    std::string text;
    Items items;
  } cases[] = {
      {"", {}},
      {"a,b,c", {"a", "b", "c"}},
      {"  a , b", {"a", "b"}},
      {"a b", {"a", "b"}},                     // an unquoted blank separates
      {"a\r\nb\r\n", {"a", "b"}},              // line breaks separate
      {"\"a b\",c", {"a b", "c"}},             // quotes keep the blank
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},  // doubled quotes
      {"a,", {"a", ""}},                       // a trailing comma adds an empty item
      {"a,,b", {"a", "", "b"}},
      {"中心校区,东校区", {"中心校区", "东校区"}},
      {"\x01\x02x", {"x"}},
      {"\"unterminated", {"unterminated"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parseCommaText(c.text), c.items);
  }
}

TEST(CommaText, RoundTripKeepsEveryItem) {
  const Items items = {"中心 校区", "a,b", "\"q\"", "x", "tab\tin", "东校区"};
  EXPECT_EQ(parseCommaText(toCommaText(items)), items);
}

TEST(ListValue, WritesEveryEntryWithALineBreak) {
  EXPECT_EQ(toListValue({}), "");
  EXPECT_EQ(toListValue({"a", "b c"}), "a\r\nb c\r\n");
}

TEST(ListValue, ReadsLineByLine) {
  const struct {
    std::string text;
    Items items;
  } cases[] = {
      {"", {}},
      {"a\r\nb c\r\n", {"a", "b c"}},
      {"a\nb", {"a", "b"}},
      {"a,b\r\n\"q\"\r\n", {"a,b", "\"q\""}},
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parseListValue(c.text), c.items);
  }
}

TEST(ListValue, NamesWithBlanksSurviveARoundTrip) {
  const Items units = {"中心 校区", "东校区, 北", "\"西\""};
  EXPECT_EQ(parseListValue(toListValue(units)), units);
}

}  // namespace
}  // namespace zeziza::store

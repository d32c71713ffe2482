#include "pages/entry/entry_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zeziza::pages {
namespace {

TEST(EntryText, TrimsBlanksAndControlCharactersAtBothEnds) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"  高一  ", "高一"},
      {"\t2010级\r\n", "2010级"},
      {"第一 中学", "第一 中学"},
      {"   ", ""},
      {"", ""},
      {"\x01x\x1f", "x"},
  };
  for (const auto& [typed, expected] : cases) {
    SCOPED_TRACE(typed);
    EXPECT_EQ(trimmed(typed), expected);
  }
}

TEST(EntryText, ReadsWholeNumbersOnly) {
  const std::vector<std::pair<std::string, std::optional<int>>> cases = {
      {"70", 70},
      {" 70 ", 70},
      {"+70", 70},
      {"-5", -5},
      {"0", 0},
      {"7.5", std::nullopt},
      {"abc", std::nullopt},
      {"", std::nullopt},
      {"+", std::nullopt},
      {"+-5", std::nullopt},
      {"7 0", std::nullopt},
      {"70分", std::nullopt},
      {"0x10", std::nullopt},
      {"99999999999", std::nullopt},
  };
  for (const auto& [typed, expected] : cases) {
    SCOPED_TRACE(typed);
    EXPECT_EQ(wholeNumber(typed), expected);
  }
}

TEST(EntryText, FindsLineBreaks) {
  EXPECT_TRUE(holdsLineBreak("a\nb"));
  EXPECT_TRUE(holdsLineBreak("a\rb"));
  EXPECT_FALSE(holdsLineBreak("a\tb, \"c\""));
}

}  // namespace
}  // namespace zeziza::pages

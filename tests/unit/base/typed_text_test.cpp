#include "analysis/typed_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/whole_number.h"

namespace zeziza::base {
namespace {

TEST(TypedText, TrimsBlanksAndControlCharactersAtBothEnds) {
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

TEST(TypedText, ReadsWholeNumbersOnly) {
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

TEST(TypedText, ReadsExactIntegersOnly) {
  const std::vector<std::pair<std::string, std::optional<std::int64_t>>> cases = {
      {"42", 42},
      {"-7", -7},
      {"9007199254740993", 9007199254740993},
      {"", std::nullopt},
      {" 42", std::nullopt},
      {"42 ", std::nullopt},
      {"+42", std::nullopt},
      {"4x", std::nullopt},
      {"99999999999999999999", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(exactInteger<std::int64_t>(text), expected);
  }
  EXPECT_EQ(exactInteger<int>("3000000000"), std::nullopt);
}

TEST(TypedText, FindsLineBreaks) {
  EXPECT_TRUE(analysis::holdsLineBreak("a\nb"));
  EXPECT_TRUE(analysis::holdsLineBreak("a\rb"));
  EXPECT_FALSE(analysis::holdsLineBreak("a\tb, \"c\""));
}

}  // namespace
}  // namespace zeziza::base

#include "analysis/typed_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace zeziza::analysis {
namespace {

TEST(TypedNumber, ReadsWhatAChineseKeyboardGivesAndNothingElse) {
  const std::vector<std::pair<std::string, std::optional<double>>> cases = {
      {"85", 85},
      {"85.5", 85.5},
      {".5", 0.5},
      {"+85", 85},
      {" 85 ", 85},
      {"\t85\r\n", 85},
      {"1e2", 100},
      {"-5", -5},  // read; the score write refuses it
      {"-0", 0},   // no negative zero
      {"0", 0},
      {"１２０", 120},           // full-width digits
      {"８５．５", 85.5},        // and a full-width point
      {"－５", -5},              // and sign
      {"\u3000８５\u3000", 85},  // ideographic blanks around it
      {"\u00a085", 85},          // a no-break blank
      {"120分", 120},
      {"１２０分", 120},
      {"120 分", 120},
      {"0分", 0},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"分", std::nullopt},
      {"120分分", std::nullopt},
      {"分120", std::nullopt},
      {"12o", std::nullopt},
      {"1O", std::nullopt},
      {"8 5", std::nullopt},
      {"8,5", std::nullopt},
      {"85.5.5", std::nullopt},
      {"85。5", std::nullopt},  // a sentence stop is no decimal point
      {"+-5", std::nullopt},
      {"--5", std::nullopt},
      {"0x10", std::nullopt},
      {"nan", std::nullopt},
      {"NaN", std::nullopt},
      {"ＮａＮ", std::nullopt},
      {"inf", std::nullopt},
      {"Infinity", std::nullopt},
      {"-inf", std::nullopt},
      {"1e309", std::nullopt},  // beyond a double
      {"1e308", 1e308},         // a number; no paper's full mark lets it in
      {"八十五", std::nullopt},
      {"85\xff", std::nullopt},  // not UTF-8
      {std::string(1001, '1'), std::nullopt},
  };
  for (const auto& [typed, expected] : cases) {
    SCOPED_TRACE(typed);
    EXPECT_EQ(typedNumber(typed), expected);
  }
  EXPECT_FALSE(std::signbit(*typedNumber("-0")));
}

TEST(TypedNumber, BlankIsBlankInEveryWidth) {
  for (const char* blank : {"", " ", "\t\r\n", "\u3000", " \u3000 "}) {
    SCOPED_TRACE(blank);
    EXPECT_TRUE(blankTyped(blank));
  }
  for (const char* text : {"0", "分", " x "}) EXPECT_FALSE(blankTyped(text));
}

TEST(TypedNumber, QuotesWhatWasTypedShortened) {
  EXPECT_EQ(quotedTyped(" 12o "), "12o");
  EXPECT_EQ(quotedTyped("ＮａＮ"), "ＮａＮ");
  EXPECT_EQ(quotedTyped("一二三四五", 3), "一二三…");
  EXPECT_EQ(quotedTyped("abcd", 4), "abcd");
  EXPECT_EQ(quotedTyped(std::string(50, 'x')), std::string(20, 'x') + "…");
}

}  // namespace
}  // namespace zeziza::analysis

#include "analysis/number_format.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using zeziza::analysis::formatFixed;
using zeziza::analysis::formatGeneral;

struct GeneralCase {
  double value;
  std::string expected;
};

TEST(FormatGeneral, ShortestTextWithFifteenSignificantDigits) {
  const std::vector<GeneralCase> cases = {
      {85, "85"},
      {85.5, "85.5"},
      {385, "385"},
      {250.0 / 3, "83.3333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {-85.5, "-85.5"},
      {-0.25, "-0.25"},
      {0, "0"},
      {-0.0, "0"},
      {0.1 + 0.2, "0.3"},
      {1200, "1200"},
      {100.01, "100.01"},
      {123456789012345, "123456789012345"},
      {999999999999999.4, "999999999999999"},
      {0.00001, "0.00001"},
      {0.000123, "0.000123"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(formatGeneral(c.value), c.expected);
  }
}

TEST(FormatGeneral, ExponentOnlyBeyondFifteenDigitsOrBelowOneHundredThousandth) {
  const std::vector<GeneralCase> cases = {
      {1e15, "1E15"},       {1234567890123456, "1.23456789012346E15"},
      {-2.5e20, "-2.5E20"}, {0.000001, "1E-6"},
      {1.5e-7, "1.5E-7"},   {999999999999999.9, "1E15"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(formatGeneral(c.value), c.expected);
  }
}

TEST(FormatGeneral, NonFiniteValues) {
  EXPECT_EQ(formatGeneral(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(formatGeneral(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(formatGeneral(-std::numeric_limits<double>::infinity()), "-INF");
}

struct FixedCase {
  double value;
  int decimals;
  std::string expected;
};

TEST(FormatFixed, RoundsHalfAwayFromZeroOnDecimalDigits) {
  const std::vector<FixedCase> cases = {
      {80.125, 2, "80.13"},  // printf gives 80.12
      {2.0005, 3, "2.001"},
      {1.005, 2, "1.01"},  // stored just below 1.005
      {0.125, 2, "0.13"},
      {-80.125, 2, "-80.13"},
      {-0.0765, 2, "-0.08"},
      {77, 2, "77.00"},
      {100.0 / 3, 2, "33.33"},
      {200.0 / 3, 2, "66.67"},
      {99.995, 2, "100.00"},
      {9.995, 2, "10.00"},
      {0.005, 2, "0.01"},
      {0.00499, 2, "0.00"},
      {0.0001, 2, "0.00"},
      {85.5, 3, "85.500"},
      {91, 3, "91.000"},
      {2.5, 0, "3"},
      {-2.5, 0, "-3"},
      {0.4, 0, "0"},
      {1e20, 2, "100000000000000000000.00"},
      {123456789.125, 2, "123456789.13"},
      {-123456.785, 2, "-123456.79"},  // stored just below the tie
      {-2.0005, 3, "-2.001"},
      {1234567.5, 0, "1234568"},
      {0, 2, "0.00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(formatFixed(c.value, c.decimals), c.expected);
  }
}

TEST(FormatFixed, ResultRoundingToZeroHasNoMinusSign) {
  const std::vector<FixedCase> cases = {
      {-0.0, 2, "0.00"},
      {-0.001, 2, "0.00"},
      {-1e-17, 2, "0.00"},
      {-0.4, 0, "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(formatFixed(c.value, c.decimals), c.expected);
  }
}

TEST(FormatFixed, NonFiniteValuesAndBadDecimals) {
  EXPECT_EQ(formatFixed(std::numeric_limits<double>::quiet_NaN(), 2), "NAN");
  EXPECT_EQ(formatFixed(-std::numeric_limits<double>::infinity(), 2), "-INF");
  EXPECT_THROW(formatFixed(1.5, -1), std::invalid_argument);
}

}  // namespace

#include "analysis/statistics_settings.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/averages.h"

namespace {

using zeziza::analysis::LevelThresholds;
using zeziza::analysis::parseBands;
using zeziza::analysis::parseThresholds;

// The message of the runtime_error `action` throws, or "" when it throws none.
template <typename Action>
std::string errorOf(Action action) {
  try {
    action();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

TEST(ParseThresholds, ReadsIntegerTexts) {
  EXPECT_EQ(parseThresholds("90", "80", "60"), (LevelThresholds{90, 80, 60}));
  EXPECT_EQ(parseThresholds(" 90 ", "+80", "-1"), (LevelThresholds{90, 80, -1}));
}

TEST(ParseThresholds, EmptyOrNonIntegerTextFailsNamingTheSetting) {
  struct Case {
    std::string excellent, good, pass;
    std::string key;
  };
  const std::vector<Case> cases = {
      {"", "80", "60", "youxiu"},       {"90", "8O", "60", "lianghao"},
      {"90", "80", "60.5", "jige"},     {"99999999999", "80", "60", "youxiu"},
      {"90", "+-80", "60", "lianghao"}, {"90", "80", "6 0", "jige"},
      {"  ", "80", "60", "youxiu"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.excellent + "|" + c.good + "|" + c.pass);
    const std::string message = errorOf([&] { parseThresholds(c.excellent, c.good, c.pass); });
    EXPECT_NE(message.find(c.key), std::string::npos) << message;
  }
}

TEST(ParseBands, ReadsEntriesInStoredOrder) {
  EXPECT_EQ(parseBands(std::vector<std::string>{"60", "70", "90", "80"}),
            (std::vector<int>{60, 70, 90, 80}));
  EXPECT_TRUE(parseBands(std::vector<std::string>{}).empty());
}

TEST(ParseBands, NonIntegerEntryFailsNamingItsPosition) {
  const std::vector<std::vector<std::string>> cases = {{"60", "", "80"}, {"60", "7O", "80"}};
  for (const auto& entries : cases) {
    SCOPED_TRACE(entries[1]);
    const std::string message = errorOf([&] { parseBands(entries); });
    EXPECT_NE(message.find("第2项"), std::string::npos) << message;
  }
}

}  // namespace

namespace {

using zeziza::analysis::AverageBasis;
using zeziza::analysis::RateBasis;

// A missing or unknown setting reads as the default; each choice reads back as its text.
TEST(FigureSettings, RateAndAverageBasisReadAsStoredElseTheDefault) {
  using zeziza::analysis::parseAverageBasis;
  using zeziza::analysis::parseRateBasis;
  EXPECT_EQ(parseRateBasis(""), RateBasis::Bands);
  EXPECT_EQ(parseRateBasis("分段"), RateBasis::Bands);
  EXPECT_EQ(parseRateBasis("累计"), RateBasis::Cumulative);
  EXPECT_EQ(parseRateBasis("其他"), RateBasis::Bands);
  EXPECT_EQ(zeziza::analysis::rateBasisText(RateBasis::Cumulative), "累计");
  EXPECT_EQ(parseAverageBasis(""), AverageBasis::SubjectsSat);
  EXPECT_EQ(parseAverageBasis("全部科目"), AverageBasis::AllSubjects);
  EXPECT_EQ(parseAverageBasis("参考科目"), AverageBasis::SubjectsSat);
  EXPECT_EQ(zeziza::analysis::averageBasisText(AverageBasis::AllSubjects), "全部科目");
}

}  // namespace

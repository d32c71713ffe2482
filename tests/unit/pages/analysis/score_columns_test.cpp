#include "pages/analysis/score_columns.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zeziza::pages {
namespace {

TEST(SessionSubjects, LooksSubjectsUpAndSelectsTheirColumnsByNumber) {
  const SessionSubjects subjects({{1, "数学"}, {2, "语文"}, {5, "a\"b' or 1=1 --"}});
  EXPECT_EQ(subjects.numberOf("语文"), 2);
  EXPECT_EQ(subjects.find("a\"b' or 1=1 --"), 5);
  EXPECT_EQ(subjects.find("英语"), std::nullopt);
  EXPECT_THROW(subjects.numberOf("英语"), std::runtime_error);
  // The names never enter the select list.
  EXPECT_EQ(store::subjectSelectList(subjects.columns()),
            ", cj.k1 as k1, cj.k2 as k2, cj.k5 as k5");
  EXPECT_EQ(store::subjectSelectList({}), "");
}

TEST(SubjectKeys, OnlyTheTwelveScoreColumns) {
  EXPECT_EQ(store::ScoreColumn::subject(12).sql(), "cj.k12");
  EXPECT_EQ(store::ScoreColumn::total().sql(), "cj.zf");
  EXPECT_EQ(subjectKey(3), "k3");
  EXPECT_THROW(store::ScoreColumn::subject(13), std::out_of_range);
  EXPECT_THROW(store::ScoreColumn::subject(0), std::out_of_range);
}

}  // namespace
}  // namespace zeziza::pages

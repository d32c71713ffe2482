#include "pages/analysis/score_columns.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "pages/signin/login_state.h"

namespace zeziza::pages {
namespace {

TEST(SessionSubjects, ReadsTheFragmentBuiltAtSignIn) {
  const struct {
    const char* fragment;
    std::vector<SubjectColumn> columns;
  } cases[] = {
      {"", {}},
      {",cj.k1 as 数学 ", {{1, "数学"}}},
      {",cj.k1 as 数学 ,cj.k2 as 语文 ,cj.k3 as 英语 ", {{1, "数学"}, {2, "语文"}, {3, "英语"}}},
      // Names are only text here: blanks, quotes and SQL stay inside the name.
      {",cj.k1 as 物 理 ,cj.k12 as a\"b' or 1=1 -- ", {{1, "物 理"}, {12, "a\"b' or 1=1 --"}}},
      {",cj.k1 as x,cj.k ,cj.k2 as y ", {{1, "x,cj.k"}, {2, "y"}}},
      // Quoted as identifiers, a doubled quote standing for one.
      {",cj.k1 as \"数学\" ,cj.k2 as \"a\"\"b ,cj.k3 as c\" ",
       {{1, "数学"}, {2, "a\"b ,cj.k3 as c"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fragment);
    EXPECT_EQ(SessionSubjects(c.fragment).columns(), c.columns);
  }
}

TEST(SessionSubjects, RefusesAMalformedFragment) {
  for (const char* fragment :
       {"数学", ",cj.k1 as 数学", ",cj.k13 as 数学 ", ",cj.k0 as 数学 ", "x,cj.k1 as 数学 "}) {
    SCOPED_TRACE(fragment);
    EXPECT_THROW(SessionSubjects{fragment}, std::runtime_error);
  }
}

// The fragment the sign-in builds reads back as the subjects it was built from.
TEST(SessionSubjects, ReadsBackWhatTheSignInBuilds) {
  const std::vector<std::string> subjects = {"数学", "语 文", "a\"b", "x ,cj.k2 as y "};
  std::vector<SubjectColumn> expected;
  for (std::size_t i = 0; i < subjects.size(); ++i) {
    expected.push_back({static_cast<int>(i) + 1, subjects[i]});
  }
  EXPECT_EQ(SessionSubjects(subjectColumnsFor(subjects)).columns(), expected);
}

TEST(SessionSubjects, LooksSubjectsUpAndSelectsTheirColumnsByNumber) {
  const SessionSubjects subjects(",cj.k1 as 数学 ,cj.k2 as 语文 ");
  EXPECT_EQ(subjects.numberOf("语文"), 2);
  EXPECT_THROW(subjects.numberOf("英语"), std::runtime_error);
  EXPECT_EQ(subjects.selectList(), ", cj.k1 as k1, cj.k2 as k2");
}

TEST(SubjectKeys, OnlyTheTwelveScoreColumns) {
  EXPECT_EQ(subjectColumn(12), "cj.k12");
  EXPECT_THROW(subjectColumn(13), std::out_of_range);
  EXPECT_THROW(subjectColumn(0), std::out_of_range);
  EXPECT_EQ(subjectNumberOfKey("k3"), 3);
  for (const char* key : {"k", "k0", "k13", "K1", "k1 ", "zf", "k1;drop table cj"}) {
    SCOPED_TRACE(key);
    EXPECT_THROW(subjectNumberOfKey(key), std::runtime_error);
  }
}

}  // namespace
}  // namespace zeziza::pages

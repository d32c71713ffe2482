#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cloud/results_queries.h"
#include "results/page_frame.h"

namespace zeziza::results {

// The school's heading: its name, or its number when it gave none.
std::string schoolTitle(std::int64_t school, const std::string& schoolName);

struct SignInView {
  std::int64_t school = 0;
  std::string schoolName;
  Notice notice;
  std::string student;  // 考号 as typed
};
std::string signInPage(const SignInView& view);

struct StudentView {
  std::int64_t school = 0;
  std::string schoolName;
  Notice notice;
  std::string student;
  std::string name;
  std::vector<cloud::ExamEntry> exams;
  std::int64_t exam = 0;  // the one shown; 0 when there is none
  std::vector<cloud::ScoreLine> scores;
  std::vector<cloud::StatisticsLine> statistics;
};
std::string studentPage(const StudentView& view);

// Shown instead of the results to a student signed in with a first password (given by the
// school) until they have chosen a password of their own.
struct FirstPasswordView {
  std::int64_t school = 0;
  std::string schoolName;
  Notice notice;
  std::string student;
  std::string name;
};
std::string firstPasswordPage(const FirstPasswordView& view);

// Pieces shared with the school's pages.
void examList(web::HtmlWriter& out, std::int64_t school, const std::vector<cloud::ExamEntry>& exams,
              std::int64_t shown);
void statisticsTable(web::HtmlWriter& out, const std::vector<cloud::StatisticsLine>& lines);
void signOutForm(web::HtmlWriter& out, std::int64_t school);

}  // namespace zeziza::results

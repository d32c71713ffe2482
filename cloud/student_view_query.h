#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cloud/results_queries.h"

namespace zeziza::cloud {

// Everything a signed-in student's result page shows, read in one statement (one round trip,
// prepared once per connection): results day brings every student at once.
struct StudentViewRows {
  Account account;
  std::optional<StudentRecord> student;  // nullopt: no such student in the account
  std::vector<ExamEntry> exams;          // within their period, newest first
  std::int64_t exam = 0;                 // the one shown: `wanted` when listed, else the newest
  std::vector<ScoreLine> scores;
  std::vector<StatisticsLine> statistics;  // the student's grade, unit and class
  // A digest of every row read: the page is the same as long as it is.
  std::string digest;
};

// nullopt when the account does not exist. `wanted` 0 asks for the newest exam.
std::optional<StudentViewRows> readStudentView(pg::Connection& connection, std::int64_t account,
                                               const std::string& student, std::int64_t wanted);

// The statement itself, for benchmarks that run it beside the site.
const std::string& studentViewStatement();

}  // namespace zeziza::cloud

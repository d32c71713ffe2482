#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace zeziza::bench {

// The size and make-up of a synthetic school (or district of schools).
struct SchoolOptions {
  int students = 4000;
  int exams = 10;
  int subjects = 9;  // 1 to 12
  int studentsPerUnit = 4000;
  int studentsPerClass = 45;
  double absentRate = 0.02;  // share of scores left at 0
  std::uint32_t seed = 1;
  std::string adminName = "admin";
  std::string adminPassword = "admin123";
};

struct GeneratedSchool {
  int units = 0;
  int classes = 0;
  int students = 0;
  long scoreRows = 0;
};

// Fills the data folder's live database with units, grades, classes, subjects, exams and their
// settings, a super administrator (rights code 0, argon2id hash of the given password),
// students and one score row per student and exam. Scores follow each student's ability and
// each subject's difficulty, so totals, averages and ranks look like a real school's; the same
// seed gives the same school. Creates the folder's files when missing; refuses a database
// that already holds students or scores.
GeneratedSchool generateSchool(const std::filesystem::path& dataDir, const SchoolOptions& options);

}  // namespace zeziza::bench

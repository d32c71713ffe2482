#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zeziza::store {
class Database;
}

namespace zeziza::bench {

// The make-up of a generated district: by default 20,000 students in 5 units of 3 grades with
// 30 classes each, 9 subjects and 10 exams, about 200,000 score rows.
struct DistrictShape {
  int students = 20000;
  int units = 5;
  int classesPerGrade = 30;
  int subjects = 9;  // 1 to 12
  int exams = 10;
  double absentRate = 0.02;  // share of scores left at 0
  std::uint32_t seed = 1;
};

struct District {
  std::vector<std::string> units, grades, classes, subjects, exams;
  long scoreRows = 0;
};

// Fills an empty `data` database with the settings lists, the students and one score row per
// student and exam (rows without any score above 0 are left out). Scores follow each
// student's ability and each subject's difficulty; the same seed gives the same district.
District generateDistrict(store::Database& db, const DistrictShape& shape);

}  // namespace zeziza::bench

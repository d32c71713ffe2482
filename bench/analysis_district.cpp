#include "bench/analysis_district.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>

#include "store/database.h"
#include "store/settings.h"
#include "store/transaction.h"

namespace zeziza::bench {

namespace {

const char* const kSubjects[] = {"语文", "数学", "英语", "物理", "化学", "生物",
                                 "政治", "历史", "地理", "信息", "体育", "音乐"};
const char* const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周"};
const char* const kGiven[] = {"伟", "芳", "娜", "敏", "静", "磊",
                              "洋", "艳", "勇", "军", "杰", "娟"};

std::vector<std::string> numbered(const std::string& before, int count, const std::string& after) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) names.push_back(before + std::to_string(i) + after);
  return names;
}

District layoutOf(const DistrictShape& shape) {
  if (shape.subjects < 1 || shape.subjects > 12) throw std::invalid_argument("1 to 12 subjects");
  District d;
  d.units = numbered("第", shape.units, "中学");
  d.grades = {"七年级", "八年级", "九年级"};
  d.classes = numbered("", shape.classesPerGrade, "班");
  d.subjects.assign(std::begin(kSubjects), std::begin(kSubjects) + shape.subjects);
  d.exams = numbered("2024学年第", shape.exams, "次考试");
  return d;
}

void writeSettings(store::Database& db, const District& d) {
  store::writeListSetting(db, store::key::kUnits, d.units);
  store::writeListSetting(db, store::key::kGrades, d.grades);
  store::writeListSetting(db, store::key::kClasses, d.classes);
  store::writeListSetting(db, store::key::kSubjects, d.subjects);
  store::writeListSetting(db, store::key::kExams, d.exams);
  store::writeListSetting(db, store::key::kBands, {"60", "70", "80", "90"});
  store::writeSetting(db, store::key::kDefaultExam, d.exams.back());
}

// Students fill the units in turn; within a unit the grades, within a grade the classes.
void writeStudents(store::Database& db, const District& d, const DistrictShape& shape,
                   std::mt19937& rng) {
  const std::string insert = "insert into ks (bh, id, xm, xx, nj, bj) values (?, ?, ?, ?, ?, ?)";
  const int perUnit = (shape.students + shape.units - 1) / shape.units;
  const int perGrade = (perUnit + 2) / 3;
  const int perClass = std::max(1, (perGrade + shape.classesPerGrade - 1) / shape.classesPerGrade);
  for (int i = 0; i < shape.students; ++i) {
    const int inUnit = i % perUnit;
    const int inGrade = inUnit % perGrade;
    const std::string name = std::string(kSurnames[rng() % std::size(kSurnames)]) +
                             kGiven[rng() % std::size(kGiven)] + kGiven[rng() % std::size(kGiven)];
    const store::Value row[] = {i + 1,
                                std::to_string(20240000 + i + 1),
                                name,
                                d.units[static_cast<std::size_t>(i / perUnit)],
                                d.grades[static_cast<std::size_t>(inUnit / perGrade)],
                                d.classes[static_cast<std::size_t>(inGrade / perClass)]};
    db.exec(insert, row);
  }
}

long writeScores(store::Database& db, const District& d, const DistrictShape& shape,
                 std::mt19937& rng) {
  std::string columns, marks;
  for (std::size_t k = 1; k <= d.subjects.size(); ++k) {
    columns += ", k" + std::to_string(k);
    marks += ", ?";
  }
  const std::string insert =
      "insert into cj (ks, kh, zf, pj, test" + columns + ") values (?, ?, ?, ?, ?" + marks + ")";
  std::normal_distribution<double> ability(0, 1), difficulty(0, 6), noise(0, 7);
  std::bernoulli_distribution absent(shape.absentRate);
  std::vector<double> abilities(static_cast<std::size_t>(shape.students));
  for (auto& a : abilities) a = ability(rng);
  long rows = 0;
  for (const auto& exam : d.exams) {
    std::vector<double> difficulties(d.subjects.size());
    for (auto& v : difficulties) v = difficulty(rng);
    for (int bh = 1; bh <= shape.students; ++bh) {
      std::vector<store::Value> row = {exam, bh, 0.0, 0.0, exam + "!&" + std::to_string(bh)};
      double total = 0;
      int valid = 0;
      for (const double hard : difficulties) {
        const double raw =
            72 + 12 * abilities[static_cast<std::size_t>(bh - 1)] - hard + noise(rng);
        const double score = absent(rng) ? 0 : std::clamp(std::round(raw * 2) / 2, 1.0, 100.0);
        row.emplace_back(score);
        total += score;
        valid += score > 0;
      }
      if (valid == 0) continue;
      row[2] = total;
      row[3] = std::round(total / valid * 1000) / 1000;
      db.exec(insert, row);
      ++rows;
    }
  }
  return rows;
}

}  // namespace

District generateDistrict(store::Database& db, const DistrictShape& shape) {
  District d = layoutOf(shape);
  std::mt19937 rng(shape.seed);
  store::Transaction transaction(db);
  writeSettings(db, d);
  writeStudents(db, d, shape, rng);
  d.scoreRows = writeScores(db, d, shape, rng);
  transaction.commit();
  return d;
}

}  // namespace zeziza::bench

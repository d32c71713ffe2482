#include "bench/school_generator.h"

#include <sodium.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <stdexcept>
#include <vector>

#include "store/data_folder.h"
#include "store/database.h"
#include "store/settings.h"
#include "store/statement.h"
#include "store/transaction.h"

namespace zeziza::bench {

namespace {

constexpr std::array<const char*, 12> kSubjects = {"语文", "数学", "英语", "物理", "化学", "生物",
                                                   "政治", "历史", "地理", "信息", "体育", "音乐"};
constexpr std::array<const char*, 3> kGrades = {"七年级", "八年级", "九年级"};
constexpr std::array<const char*, 20> kSurnames = {"王", "李", "张", "刘", "陈", "杨", "黄",
                                                   "赵", "吴", "周", "徐", "孙", "马", "朱",
                                                   "胡", "郭", "何", "高", "林", "罗"};
constexpr std::array<const char*, 24> kGiven = {"伟", "芳", "娜", "敏", "静", "磊", "洋", "艳",
                                                "勇", "军", "杰", "娟", "涛", "明", "超", "秀",
                                                "霞", "平", "刚", "桂", "晨", "浩", "宇", "欣"};

std::vector<std::string> numbered(const std::string& before, int count, const std::string& after) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) names.push_back(before + std::to_string(i) + after);
  return names;
}

std::string passwordHash(const std::string& password) {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
  char out[crypto_pwhash_STRBYTES];
  // The parameters the login's hasher uses for new hashes.
  if (crypto_pwhash_str_alg(out, password.data(), password.size(), 2, 19u * 1024 * 1024,
                            crypto_pwhash_ALG_ARGON2ID13) != 0) {
    throw std::runtime_error("cannot hash the administrator's password");
  }
  return out;
}

void checkEmpty(store::Database& db) {
  store::Statement count(db, "select (select count(*) from ks) + (select count(*) from cj)");
  count.step();
  if (count.column(0).asInt() > 0) {
    throw std::runtime_error(db.file().string() + " already holds students or scores");
  }
}

struct Layout {
  std::vector<std::string> units, classes, subjects, exams;
};

Layout layoutOf(const SchoolOptions& o) {
  if (o.subjects < 1 || o.subjects > 12) throw std::invalid_argument("subjects must be 1 to 12");
  if (o.students < 1 || o.exams < 1) throw std::invalid_argument("students and exams must be > 0");
  Layout layout;
  const int units = (o.students + o.studentsPerUnit - 1) / o.studentsPerUnit;
  const int perGrade = (std::min(o.students, o.studentsPerUnit) + 2) / 3;
  layout.units = numbered("第", units, "中学");
  layout.classes =
      numbered("", std::max(1, (perGrade + o.studentsPerClass - 1) / o.studentsPerClass), "班");
  layout.subjects.assign(kSubjects.begin(), kSubjects.begin() + o.subjects);
  layout.exams = numbered("2024学年第", o.exams, "次考试");
  return layout;
}

void writeSettings(store::Database& db, const Layout& layout, const SchoolOptions& o) {
  store::writeListSetting(db, store::key::kUnits, layout.units);
  store::writeListSetting(db, store::key::kGrades, {kGrades.begin(), kGrades.end()});
  store::writeListSetting(db, store::key::kClasses, layout.classes);
  store::writeListSetting(db, store::key::kSubjects, layout.subjects);
  store::writeListSetting(db, store::key::kExams, layout.exams);
  store::writeListSetting(db, store::key::kBands, {"60", "70", "80", "90"});
  store::writeSetting(db, store::key::kDefaultExam, layout.exams.back());
  db.exec("insert into yh (user, pass, qx) values (?, ?, '0')",
          {o.adminName, passwordHash(o.adminPassword)});
}

// Students fill the units in turn; within a unit, grades and classes in order.
void writeStudents(store::Database& db, const Layout& layout, const SchoolOptions& o,
                   std::mt19937& rng) {
  const std::string insert = "insert into ks (bh, id, xm, xx, nj, bj) values (?, ?, ?, ?, ?, ?)";
  std::uniform_int_distribution<std::size_t> surname(0, kSurnames.size() - 1);
  std::uniform_int_distribution<std::size_t> given(0, kGiven.size() - 1);
  const int perGrade = (std::min(o.students, o.studentsPerUnit) + 2) / 3;
  for (int i = 0; i < o.students; ++i) {
    const int inUnit = i % o.studentsPerUnit;
    const std::string name = std::string(kSurnames[surname(rng)]) + kGiven[given(rng)] +
                             (rng() % 2 ? kGiven[given(rng)] : "");
    const std::vector<store::Value> row = {
        i + 1,
        std::to_string(20240000 + i + 1),
        name,
        layout.units[static_cast<std::size_t>(i / o.studentsPerUnit)],
        kGrades[static_cast<std::size_t>(std::min(inUnit / perGrade, 2))],
        layout.classes[static_cast<std::size_t>((inUnit % perGrade) / o.studentsPerClass) %
                       layout.classes.size()]};
    db.exec(insert, row);
  }
}

// A score out of 100: ability and subject difficulty, some noise, whole or half points.
double drawScore(double ability, double difficulty, std::mt19937& rng) {
  std::normal_distribution<double> noise(0, 7);
  const double raw = 72 + 12 * ability - difficulty + noise(rng);
  return std::clamp(std::round(raw * 2) / 2, 1.0, 100.0);
}

long writeScores(store::Database& db, const Layout& layout, const SchoolOptions& o,
                 std::mt19937& rng) {
  std::string columns, marks;
  for (std::size_t k = 1; k <= layout.subjects.size(); ++k) {
    columns += ", k" + std::to_string(k);
    marks += ", ?";
  }
  const std::string insert =
      "insert into cj (ks, kh, zf, pj, test" + columns + ") values (?, ?, ?, ?, ?" + marks + ")";
  std::normal_distribution<double> ability(0, 1), difficulty(0, 6);
  std::bernoulli_distribution absent(o.absentRate);
  std::vector<double> abilities(static_cast<std::size_t>(o.students));
  for (auto& a : abilities) a = ability(rng);
  long rows = 0;
  for (const auto& exam : layout.exams) {
    std::vector<double> difficulties;
    for (std::size_t k = 0; k < layout.subjects.size(); ++k)
      difficulties.push_back(difficulty(rng));
    for (int bh = 1; bh <= o.students; ++bh) {
      std::vector<store::Value> row = {exam, bh, 0.0, 0.0, exam + "!&" + std::to_string(bh)};
      double total = 0;
      int valid = 0;
      for (const double d : difficulties) {
        const double score = absent(rng) ? 0 : drawScore(abilities[bh - 1], d, rng);
        row.emplace_back(score);
        total += score;
        valid += score > 0;
      }
      if (valid == 0) continue;  // a row without any valid score is not kept
      row[2] = total;
      row[3] = std::round(total / valid * 1000) / 1000;
      db.exec(insert, row);
      ++rows;
    }
  }
  return rows;
}

}  // namespace

GeneratedSchool generateSchool(const std::filesystem::path& dataDir, const SchoolOptions& options) {
  const store::DataFolder folder{dataDir};
  store::prepareDataFolder(folder);
  const Layout layout = layoutOf(options);
  store::Database db(folder.data());
  checkEmpty(db);
  std::mt19937 rng(options.seed);
  store::Transaction transaction(db);
  writeSettings(db, layout, options);
  writeStudents(db, layout, options, rng);
  const long rows = writeScores(db, layout, options, rng);
  transaction.commit();
  return {static_cast<int>(layout.units.size()), static_cast<int>(layout.classes.size()),
          options.students, rows};
}

}  // namespace zeziza::bench

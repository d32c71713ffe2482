#include "bench/school_generator.h"

#include <gtest/gtest.h>
#include <sodium.h>

#include "store/connection.h"
#include "store/data_folder.h"
#include "store/database.h"
#include "store/query.h"
#include "store/settings.h"
#include "tests/support/temp_folder.h"

namespace zeziza::bench {
namespace {

SchoolOptions smallSchool() {
  SchoolOptions o;
  o.students = 250;
  o.exams = 3;
  o.subjects = 4;
  o.studentsPerUnit = 100;
  o.studentsPerClass = 20;
  o.absentRate = 0.05;
  o.seed = 7;
  return o;
}

// One text per table that changes when any generated value changes.
std::string digestOf(store::Database& db) {
  store::Connection unused(db.file());
  store::Query q(unused);
  q.open(
      "select (select group_concat(id || xm || xx || nj || bj, '|') from ks), "
      "(select group_concat(ks || kh || k1 || k2 || k3 || k4 || zf || pj, '|') from cj)");
  return q.fieldAt(0, 0).asText() + q.fieldAt(0, 1).asText();
}

TEST(GenerateSchool, WritesSettingsAdministratorStudentsAndConsistentScores) {
  testing::TempFolder temp;
  const auto made = generateSchool(temp.path(), smallSchool());
  EXPECT_EQ(made.units, 3);
  EXPECT_EQ(made.students, 250);
  store::Database db(store::DataFolder{temp.path()}.data());
  EXPECT_EQ(store::readListSetting(db, store::key::kUnits),
            (std::vector<std::string>{"第1中学", "第2中学", "第3中学"}));
  EXPECT_EQ(store::readListSetting(db, store::key::kGrades).size(), 3u);
  EXPECT_EQ(store::readListSetting(db, store::key::kSubjects).size(), 4u);
  EXPECT_EQ(store::readListSetting(db, store::key::kExams).size(), 3u);
  EXPECT_EQ(store::readSetting(db, store::key::kDefaultExam), "2024学年第3次考试");

  store::Connection connection(db.file());
  store::Query q(connection);
  q.open("select pass from yh where user='admin' and qx='0'");
  ASSERT_EQ(q.recordCount(), 1u);
  ASSERT_GE(sodium_init(), 0);
  EXPECT_EQ(crypto_pwhash_str_verify(q.fieldAt(0, 0).asText().c_str(), "admin123", 8), 0);

  // Every student's place is on the lists; every row keeps the score invariants.
  q.open("select count(*) from ks where bj not in (select value from json_each(?))",
         {"[\"1班\",\"2班\"]"});
  EXPECT_EQ(q.fieldAt(0, 0).asInt(), 0);
  q.open(
      "select count(*), sum(zf <> (k1+k2+k3+k4)), "
      "sum(abs(pj - round(zf / ((k1>0)+(k2>0)+(k3>0)+(k4>0)), 3)) > 1e-9), "
      "sum(k1 = 0), sum(test <> ks || '!&' || kh), max(k1), min(nullif(k1, 0)) from cj");
  EXPECT_EQ(q.fieldAt(0, 0).asInt(), made.scoreRows);
  EXPECT_GT(made.scoreRows, 3 * 250 - 5);
  EXPECT_EQ(q.fieldAt(0, 1).asInt(), 0);
  EXPECT_EQ(q.fieldAt(0, 2).asInt(), 0);
  EXPECT_GT(q.fieldAt(0, 3).asInt(), 0);  // some absent
  EXPECT_LT(q.fieldAt(0, 3).asInt(), made.scoreRows / 5);
  EXPECT_EQ(q.fieldAt(0, 4).asInt(), 0);
  EXPECT_LE(q.fieldAt(0, 5).asDouble(), 100);
  EXPECT_GE(q.fieldAt(0, 6).asDouble(), 1);
}

TEST(GenerateSchool, SameSeedSameSchoolAndNoOverwrite) {
  testing::TempFolder a, b, c;
  generateSchool(a.path(), smallSchool());
  generateSchool(b.path(), smallSchool());
  SchoolOptions other = smallSchool();
  other.seed = 8;
  generateSchool(c.path(), other);
  store::Database da(store::DataFolder{a.path()}.data());
  store::Database db(store::DataFolder{b.path()}.data());
  store::Database dc(store::DataFolder{c.path()}.data());
  EXPECT_EQ(digestOf(da), digestOf(db));
  EXPECT_NE(digestOf(da), digestOf(dc));
  EXPECT_THROW(generateSchool(a.path(), smallSchool()), std::runtime_error);
  EXPECT_EQ(digestOf(da), digestOf(db));
}

}  // namespace
}  // namespace zeziza::bench

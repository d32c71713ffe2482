// Schools on one service: each publishes with a role of its own that reaches its own account's
// rows and nothing of another school's.
#include <gtest/gtest.h>

#include "cloud/accounts.h"
#include "cloud/pg.h"
#include "tests/cloud/cloud_test_db.h"
#include "tests/cloud/results_school.h"

namespace zeziza::cloud {
namespace {

class TenantTest : public testing::CloudTest {
 protected:
  void SetUp() override {
    CloudTest::SetUp();
    if (IsSkipped()) return;
    own_ = publish("第1中学", "firstpw1", "0101");
    other_ = publish("第二中学", "secondpw", "0202");
    const auto role = cloud().scalar("SELECT db_role FROM yhm WHERE id = " + std::to_string(own_));
    school_ = std::make_unique<pg::Connection>(cloud().conninfo() + " user='" + role + "'");
  }

  // A registered school with one student, one exam, a score, statistics and a ranking.
  std::int64_t publish(const std::string& name, const std::string& password,
                       const std::string& student) {
    const auto account = registerAccount(cloud().db(), password, hashPassword(password), name);
    testing::PublishedSchool school(cloud().db(), account.value().number);
    school.addStudent(student, "学生" + student, "pw" + student, "东校区", "一班");
    const auto exam = school.addExam("期中" + student, 1, 30);
    school.addScore(exam, student, "数学", "90");
    school.addStatistics(exam, "数学", "", "", "80");
    school.addRanking(exam, "数学", "", "", "1:[" + student + "]学生  90\r\n");
    return account->number;
  }

  // Rows of `table` that belong to `account`, named by literal keys (a subquery on xmb would
  // itself be fenced and hide a table left open).
  std::string ofAccount(const std::string& table, std::int64_t account) {
    const std::string a = std::to_string(account);
    if (table == "yhm") return "id = " + a;
    if (table == "xmb" || table == "stu") return "yhmid = " + a;
    return "xmid = " + cloud().scalar("SELECT id FROM xmb WHERE yhmid = " + a);
  }

  std::int64_t countAs(pg::Connection& db, const std::string& table, std::int64_t account) {
    return db.exec("SELECT count(*) FROM " + table + " WHERE " + ofAccount(table, account))
        .integer(0, 0);
  }

  std::int64_t own_ = 0, other_ = 0;
  std::unique_ptr<pg::Connection> school_;
};

const std::vector<std::string> kFencedTables = {"yhm", "xmb", "stu", "pmb", "tjb", "cjb"};

TEST_F(TenantTest, AnotherSchoolsRowsAreNeitherSeenNorChanged) {
  for (const auto& table : kFencedTables) {
    SCOPED_TRACE(table);
    EXPECT_EQ(countAs(*school_, table, own_), 1);  // its own rows it sees
    EXPECT_EQ(countAs(*school_, table, other_), 0);
    EXPECT_EQ(school_->exec("SELECT count(*) FROM " + table).integer(0, 0), 1);
    if (table != "yhm") {
      const std::string where = " WHERE " + ofAccount(table, other_);
      const std::string touch = table == "xmb"   ? "有效期 = 1"
                                : table == "stu" ? "姓名 = 'x'"
                                : table == "pmb" ? "pmmx = 'x'"
                                : table == "tjb" ? "平均分 = 0"
                                                 : "成绩 = 0";
      EXPECT_EQ(school_->exec("UPDATE " + table + " SET " + touch + where).affected(), 0);
      EXPECT_EQ(school_->exec("DELETE FROM " + table + where).affected(), 0);
    }
    EXPECT_EQ(countAs(cloud().db(), table, other_), 1);  // the other school's rows are intact
  }
  EXPECT_EQ(cloud().scalar("SELECT 成绩 FROM cjb WHERE stuid = '0202'"), "90");
  EXPECT_EQ(cloud().scalar("SELECT 姓名 FROM stu WHERE stuid = '0202'"), "学生0202");
}

TEST_F(TenantTest, WritesIntoAnotherSchoolOrTheSitesTablesAreRefused) {
  const std::string other = std::to_string(other_);
  const std::string otherExam = cloud().scalar("SELECT id FROM xmb WHERE yhmid = " + other);
  const std::vector<std::string> refused = {
      "INSERT INTO stu (yhmid, stuid, 姓名, 密码, dwid, njid, bcid) VALUES (" + other +
          ", '9', 'x', 'h', 1, 1, 1)",
      "INSERT INTO xmb (yhmid, 项目名称, 有效期) VALUES (" + other + ", '冒名', 30)",
      "INSERT INTO cjb (stuid, xmid, kmid, 成绩) VALUES ('0202', " + otherExam +
          ", 1, 1) "
          "ON CONFLICT (stuid, xmid, kmid) DO UPDATE SET 成绩 = 1",
      "UPDATE stu SET yhmid = " + other,  // moving its own rows over
      "UPDATE yhm SET 密码 = 'h'",
      "INSERT INTO yhm (密码) VALUES ('h')",
      "UPDATE gxkm SET 科目 = 'x'",
      "DELETE FROM gxkm",
      "SELECT * FROM throttle",
  };
  for (const auto& sql : refused) {
    SCOPED_TRACE(sql);
    EXPECT_THROW(school_->exec(sql), pg::Error);
  }
  EXPECT_EQ(cloud().scalar("SELECT 成绩 FROM cjb WHERE stuid = '0202'"), "90");
  EXPECT_EQ(cloud().count("stu WHERE yhmid = " + other), 1);
  EXPECT_EQ(cloud().count("yhm"), 2);
}

TEST_F(TenantTest, RegistrationMakesALoginRoleWithTheAccountsPassword) {
  const auto row = cloud().db().exec(
      "SELECT r.rolcanlogin, r.rolsuper, r.rolcreaterole, r.rolbypassrls, "
      "pg_has_role(r.oid, 'zeziza_schools', 'MEMBER'), a.rolpassword LIKE 'SCRAM-SHA-256$%' "
      "FROM yhm y JOIN pg_roles r ON r.rolname = y.db_role JOIN pg_authid a ON a.oid = r.oid "
      "WHERE y.id = $1",
      {std::to_string(own_)});
  ASSERT_EQ(row.rows(), 1);
  const std::vector<std::string> expected = {"t", "f", "f", "f", "t", "t"};
  for (int c = 0; c < row.columns(); ++c) EXPECT_EQ(row.text(0, c), expected[c]) << c;
  // The password never reaches the server as it is.
  EXPECT_EQ(cloud().count("pg_authid WHERE rolpassword LIKE '%firstpw1%'"), 0);
  // A school name is one registration, compared after NFKC; both or neither of row and role.
  const auto roles = cloud().scalar("SELECT count(*) FROM pg_roles");
  EXPECT_EQ(registerAccount(cloud().db(), "thirdpw1", hashPassword("thirdpw1"), "第１中学"),
            std::nullopt);
  EXPECT_EQ(registerAccount(cloud().db(), "thirdpw1", hashPassword("thirdpw1"), "第二中学"),
            std::nullopt);
  EXPECT_EQ(cloud().scalar("SELECT count(*) FROM pg_roles"), roles);
  EXPECT_EQ(cloud().count("yhm"), 2);
}

}  // namespace
}  // namespace zeziza::cloud

// Schools on one service: each publishes with a role of its own that reaches its own account's
// rows and nothing of another school's.
#include <gtest/gtest.h>

#include "cloud/accounts.h"
#include "cloud/pg.h"
#include "cloud/schema.h"
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

const std::vector<std::string> kPublishedTables = {"yhm",  "xmb",  "stu",  "pmb",  "tjb",     "cjb",
                                                   "gxdw", "gxnj", "gxbc", "gxkm", "throttle"};

// A school's role holds no privilege on any table: it reads, changes, locks and explains over
// nothing, its own rows included; it publishes through the service's functions alone.
TEST_F(TenantTest, ASchoolsRoleCannotReadLockOrExplainAnyTable) {
  for (const auto& table : kPublishedTables) {
    for (const std::string& sql : {"SELECT count(*) FROM " + table, "DELETE FROM " + table,
                                   "LOCK TABLE " + table + " IN ACCESS EXCLUSIVE MODE",
                                   "LOCK TABLE " + table + " IN ACCESS SHARE MODE",
                                   "EXPLAIN ANALYZE SELECT * FROM " + table}) {
      SCOPED_TRACE(sql);
      pg::Transaction transaction(*school_);
      EXPECT_THROW(school_->exec(sql), pg::Error);
    }
  }
  EXPECT_EQ(cloud().scalar("SELECT 成绩 FROM cjb WHERE stuid = '0202'"), "90");
  EXPECT_EQ(cloud().scalar("SELECT 姓名 FROM stu WHERE stuid = '0202'"), "学生0202");
}

TEST_F(TenantTest, WritesIntoAnotherSchoolOrTheSitesTablesAreRefused) {
  const std::string own = std::to_string(own_);
  const std::string other = std::to_string(other_);
  const std::string otherExam = cloud().scalar("SELECT id FROM xmb WHERE yhmid = " + other);
  const std::string ownExam = cloud().scalar("SELECT id FROM xmb WHERE yhmid = " + own);
  // Each in a transaction of its own, with what it staged left uncommitted.
  const std::vector<std::vector<std::string>> refused = {
      {"INSERT INTO stu (yhmid, stuid, 姓名, 密码, dwid, njid, bcid) VALUES (" + other +
       ", '9', 'x', 'h', 1, 1, 1)"},
      {"INSERT INTO xmb (yhmid, 项目名称, 有效期) VALUES (" + other + ", '冒名', 30)"},
      {"SELECT * FROM zeziza_project(" + other + ", '冒名', 30)"},
      {"SELECT zeziza_known_students(" + other + ")"},
      {"SELECT zeziza_remove_unsent(" + other + ", " + otherExam +
       ", 0, '{1}', '{1}', '{1}', '{1}', '{t,t,t}', '{t,t,t}')"},
      {"SELECT zeziza_remove_unsent(" + own + ", " + otherExam +
       ", 0, '{1}', '{1}', '{1}', '{1}', '{t,t,t}', '{t,t,t}')"},
      // Staged rows of another school's exam, or for another account, are not merged.
      {"INSERT INTO stage_cjb (stuid, xmid, kmid, 成绩) VALUES ('0202', " + otherExam + ", 1, 1)",
       "SELECT zeziza_merge('cjb', " + own + ")"},
      {"INSERT INTO stage_stu (yhmid, stuid, 姓名, 密码, dwid, njid, bcid) VALUES (" + other +
           ", '9', 'x', 'h', 1, 1, 1)",
       "SELECT zeziza_merge('stu', " + own + ")"},
      {"SELECT zeziza_merge('cjb', " + other + ")"},
      {"SELECT zeziza_merge('yhm', " + own + ")"},
      // Rows staged as another role's.
      {"INSERT INTO stage_cjb (who, stuid, xmid, kmid, 成绩) VALUES ('postgres', '0202', " +
       otherExam + ", 1, 1)"},
      {"SELECT count(*) FROM stage_cjb"},
      // Sizes beyond any school's.
      {"INSERT INTO stage_stu (yhmid, stuid, 姓名, 密码, dwid, njid, bcid) VALUES (" + own +
       ", '9', repeat('名', 1100000), 'h', 1, 1, 1)"},
      {"INSERT INTO stage_cjb (stuid, xmid, kmid, 成绩) VALUES (repeat('9', 100), " + ownExam +
       ", 1, 1)"},
      {"SELECT * FROM zeziza_names('units', ARRAY[repeat('校', 200)])"},
      {"SELECT * FROM zeziza_project(" + own + ", repeat('考', 200), 30)"},
      {"UPDATE gxkm SET 科目 = 'x'"},
      {"SELECT * FROM throttle"},
      {"SELECT * FROM check_budget"},
  };
  for (const auto& statements : refused) {
    SCOPED_TRACE(statements.back());
    pg::Transaction transaction(*school_);
    EXPECT_THROW(for (const auto& sql : statements) school_->exec(sql), pg::Error);
  }
  EXPECT_EQ(cloud().scalar("SELECT 成绩 FROM cjb WHERE stuid = '0202'"), "90");
  EXPECT_EQ(cloud().count("stu WHERE yhmid = " + other), 1);
  EXPECT_EQ(cloud().count("xmb WHERE yhmid = " + other), 1);
  EXPECT_EQ(cloud().count("yhm"), 2);
  // Its own account it publishes for.
  EXPECT_EQ(school_->exec("SELECT id FROM zeziza_project(" + own + ", '期末', 30)").rows(), 1);
  EXPECT_EQ(cloud().count("xmb WHERE yhmid = " + own), 2);
}

// One school's role neither holds up another school's results nor takes the server's
// connections: its lock is refused and its connections end at its limit, while another school
// is served.
TEST_F(TenantTest, OneSchoolCannotStopAnothersResults) {
  std::vector<std::unique_ptr<pg::Connection>> held;
  const auto role = cloud().scalar("SELECT db_role FROM yhm WHERE id = " + std::to_string(own_));
  for (int i = 1; i < kSchoolConnections; ++i) {  // school_ is the first
    held.push_back(std::make_unique<pg::Connection>(cloud().conninfo() + " user='" + role + "'"));
  }
  EXPECT_THROW(pg::Connection(cloud().conninfo() + " user='" + role + "'"), pg::Error);
  pg::Transaction locking(*school_);
  EXPECT_THROW(school_->exec("LOCK TABLE cjb IN ACCESS EXCLUSIVE MODE"), pg::Error);
  // The other school's view reads cjb at once.
  pg::Connection site(cloud().conninfo());
  EXPECT_EQ(site.exec("SELECT 成绩 FROM cjb WHERE stuid = '0202'").text(0, 0), "90");
  // Statements and lock waits of a school's role are cut short.
  const auto settings = cloud().scalar(
      "SELECT array_to_string(r.rolconfig, ',') || ',' || r.rolconnlimit FROM pg_roles r "
      "WHERE r.rolname = '" +
      role + "'");
  for (const char* setting :
       {"statement_timeout=", "lock_timeout=", "idle_in_transaction_session_timeout="}) {
    EXPECT_NE(settings.find(setting), std::string::npos) << settings;
  }
  EXPECT_TRUE(settings.ends_with("," + std::to_string(kSchoolConnections))) << settings;
}

// Schools registered before publishing went through the service's functions are moved over
// when the schema is created again: their roles get the limits and lose the tables.
TEST_F(TenantTest, CreatingTheSchemaAgainMovesOlderSchoolsOver) {
  const auto role = cloud().scalar("SELECT db_role FROM yhm WHERE id = " + std::to_string(own_));
  cloud().db().execScript("ALTER ROLE " + role + " CONNECTION LIMIT -1; ALTER ROLE " + role +
                          " RESET ALL; GRANT SELECT ON yhm, xmb TO zeziza_schools; "
                          "GRANT SELECT, INSERT, UPDATE, DELETE ON cjb, stu TO zeziza_schools");
  school_ = std::make_unique<pg::Connection>(cloud().conninfo() + " user='" + role + "'");
  ASSERT_EQ(school_->exec("SELECT count(*) FROM cjb").integer(0, 0), 1);
  createSchema(cloud().db());
  school_ = std::make_unique<pg::Connection>(cloud().conninfo() + " user='" + role + "'");
  EXPECT_THROW(school_->exec("SELECT count(*) FROM cjb"), pg::Error);
  EXPECT_EQ(cloud().scalar("SELECT rolconnlimit FROM pg_roles WHERE rolname = '" + role + "'"),
            std::to_string(kSchoolConnections));
  EXPECT_NE(cloud()
                .scalar("SELECT array_to_string(rolconfig, ',') FROM pg_roles WHERE rolname = '" +
                        role + "'")
                .find("lock_timeout="),
            std::string::npos);
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

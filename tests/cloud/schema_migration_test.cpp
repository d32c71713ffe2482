// A service made by an older version brought up to date by the schema script, rows kept.
#include <gtest/gtest.h>

#include "cloud/pg.h"
#include "cloud/schema.h"
#include "tests/cloud/cloud_test_db.h"

namespace zeziza::cloud {
namespace {

class SchemaMigrationTest : public testing::CloudTest {};

// Scores keyed by integer student numbers become text: each goes to its account's one student
// whose number has that value (0101 for 101); where no single student does, the digits stay.
TEST_F(SchemaMigrationTest, IntegerStudentNumbersBecomeTheRostersText) {
  auto& db = cloud().db();
  db.execScript(
      "DROP TABLE cjb;"
      "CREATE TABLE cjb (stuid bigint NOT NULL, xmid bigint NOT NULL REFERENCES xmb (id), "
      "kmid bigint NOT NULL, 成绩 numeric NOT NULL, 总排名 integer, 校内排名 integer, "
      "班内排名 integer, PRIMARY KEY (stuid, xmid, kmid));"
      "INSERT INTO yhm (密码) VALUES ('h'), ('h');"
      "INSERT INTO xmb (yhmid, 项目名称, 有效期) VALUES (1, '期中', 30), (2, '期中', 30);"
      "INSERT INTO stu (yhmid, stuid, 姓名, 密码, dwid, njid, bcid) VALUES "
      "(1, '0101', '甲', 'h', 1, 1, 1), (1, '7', '乙', 'h', 1, 1, 1), "
      "(1, '07', '丙', 'h', 1, 1, 1), (2, '101', '丁', 'h', 1, 1, 1);"
      "INSERT INTO cjb VALUES (101, 1, 1, 90, 1, 1, 1), (7, 1, 1, 80, 2, 2, 2), "
      "(55, 1, 1, 70, 3, 3, 3), (101, 2, 1, 60, 1, 1, 1);");
  createSchema(db);
  createSchema(db);  // the second run finds nothing to convert
  EXPECT_EQ(cloud().scalar("SELECT data_type FROM information_schema.columns "
                           "WHERE table_schema = current_schema() AND table_name = 'cjb' "
                           "AND column_name = 'stuid'"),
            "text");
  EXPECT_EQ(
      cloud().scalar("SELECT string_agg(xmid || ':' || stuid || ':' || 成绩 || ':' || 总排名, "
                     "',' ORDER BY xmid, 成绩 DESC) FROM cjb"),
      "1:0101:90:1,1:7:80:2,1:55:70:3,2:101:60:1");
  // Still keyed by student, exam and subject.
  EXPECT_THROW(db.exec("INSERT INTO cjb (stuid, xmid, kmid, 成绩) VALUES ('0101', 1, 1, 1)"),
               pg::Error);
  db.exec("INSERT INTO cjb (stuid, xmid, kmid, 成绩) VALUES ('101', 1, 1, 1)");
  EXPECT_EQ(cloud().count("cjb"), 5);
}

// Names registered twice before names were one registration each: the script says which
// and changes nothing until they are renamed.
TEST_F(SchemaMigrationTest, RepeatedSchoolNamesAreNamedBeforeTheirIndexIsMade) {
  auto& db = cloud().db();
  db.execScript(
      "DROP INDEX yhm_school_name;"
      "INSERT INTO yhm (密码, 单位名称) VALUES ('h', '实验小学'), ('h', '实验小学'), "
      "('h', '第二中学');");
  try {
    createSchema(db);
    FAIL() << "made the index over repeated names";
  } catch (const pg::Error& e) {
    EXPECT_NE(std::string(e.what()).find("有学校名称注册了不止一次（实验小学）"), std::string::npos)
        << e.what();
  }
  db.exec("UPDATE yhm SET 单位名称 = '实验小学（东）' WHERE id = 2");
  createSchema(db);
  EXPECT_THROW(db.exec("INSERT INTO yhm (密码, 单位名称) VALUES ('h', '第二中学')"), pg::Error);
}

}  // namespace
}  // namespace zeziza::cloud

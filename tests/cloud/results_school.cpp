#include "tests/cloud/results_school.h"

#include "cloud/accounts.h"
#include "cloud/service.h"

namespace zeziza::testing {

PublishedSchool::PublishedSchool(cloud::pg::Connection& db, const std::string& name,
                                 const std::string& password)
    : db_(db), account_(cloud::insertAccount(db, cloud::hashPassword(password), name)) {}

std::int64_t PublishedSchool::id(const std::string& table, const std::string& column,
                                 const std::string& name) {
  db_.exec("INSERT INTO " + table + " (" + column + ") VALUES ($1) ON CONFLICT DO NOTHING", {name});
  return db_.exec("SELECT id FROM " + table + " WHERE " + column + " = $1", {name}).integer(0, 0);
}

std::string PublishedSchool::scopeId(const std::string& table, const std::string& column,
                                     const std::string& name) {
  return name.empty() ? "-1" : std::to_string(id(table, column, name));
}

void PublishedSchool::addStudent(const std::string& number, const std::string& name,
                                 const std::string& password, const std::string& unit,
                                 const std::string& cls) {
  db_.exec(
      "INSERT INTO stu (yhmid, stuid, 姓名, 密码, dwid, njid, bcid) "
      "VALUES ($1, $2, $3, $4, $5, $6, $7)",
      {std::to_string(account_), number, name, cloud::hashPassword(password),
       scopeId("gxdw", "单位", unit), scopeId("gxnj", "年级", "初一"),
       scopeId("gxbc", "班次", cls)});
}

std::int64_t PublishedSchool::addExam(const std::string& name, int daysAgo, int days) {
  return db_
      .exec(
          "INSERT INTO xmb (yhmid, 项目名称, 有效期, 上报时间) "
          "VALUES ($1, $2, $3, localtimestamp(0) - make_interval(days => $4)) RETURNING id",
          {std::to_string(account_), name, std::to_string(days), std::to_string(daysAgo)})
      .integer(0, 0);
}

void PublishedSchool::addScore(std::int64_t exam, const std::string& student,
                               const std::string& subject, const std::string& score,
                               const std::string& overallRank) {
  db_.exec(
      "INSERT INTO cjb (stuid, xmid, kmid, 成绩, 总排名, 校内排名, 班内排名) "
      "VALUES ($1, $2, $3, $4, $5, 2, NULL)",
      {student, std::to_string(exam), scopeId("gxkm", "科目", subject), score, overallRank});
}

void PublishedSchool::addStatistics(std::int64_t exam, const std::string& subject,
                                    const std::string& unit, const std::string& cls,
                                    const std::string& mean) {
  db_.exec(
      "INSERT INTO tjb VALUES ($1, $2, $3, $4, $5, 40, 38, 3000, $6, 99, 12, 80, 9.5, "
      "10, 20, 60, 10, 4, 8, 23, 3, 0.1, -0.2, '60=3人\r\n')",
      {std::to_string(exam), scopeId("gxkm", "科目", subject), scopeId("gxdw", "单位", unit),
       scopeId("gxnj", "年级", "初一"), scopeId("gxbc", "班次", cls), mean});
}

void PublishedSchool::addRanking(std::int64_t exam, const std::string& subject,
                                 const std::string& unit, const std::string& cls,
                                 const std::string& text) {
  db_.exec("INSERT INTO pmb (xmid, dwid, njid, bcid, kmid, pmmx) VALUES ($1, $2, $3, $4, $5, $6)",
           {std::to_string(exam), scopeId("gxdw", "单位", unit), scopeId("gxnj", "年级", "初一"),
            scopeId("gxbc", "班次", cls), scopeId("gxkm", "科目", subject), text});
}

}  // namespace zeziza::testing

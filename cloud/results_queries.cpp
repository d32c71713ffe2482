#include "cloud/results_queries.h"

#include <algorithm>

#include "cloud/pg.h"

namespace zeziza::cloud {

namespace {

// Published subjects in the order publishing sends them: subjects, then 平均分, then 总分.
constexpr const char* kSubjectOrder =
    "CASE k.科目 WHEN '平均分' THEN 1 WHEN '总分' THEN 2 ELSE 0 END, k.id";
// An exam row x that is still within its lookup period.
constexpr const char* kCurrent = "x.上报时间 + x.有效期 * interval '1 day' > localtimestamp";

std::string textOrEmpty(const pg::Result& result, int row, int column) {
  return result.isNull(row, column) ? std::string() : result.text(row, column);
}

std::vector<StatisticsLine> statisticsRows(const pg::Result& result) {
  std::vector<StatisticsLine> lines;
  for (int r = 0; r < result.rows(); ++r) {
    StatisticsLine line;
    std::string* fields[] = {
        &line.subject,       &line.unit,     &line.grade,    &line.cls,      &line.enrolled,
        &line.participants,  &line.mean,     &line.highest,  &line.lowest,   &line.median,
        &line.excellentRate, &line.goodRate, &line.passRate, &line.rateBasis};
    for (int c = 0; c < static_cast<int>(std::size(fields)); ++c) {
      *fields[c] = textOrEmpty(result, r, c);
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

constexpr const char* kStatisticsSelect =
    "SELECT k.科目, d.单位, n.年级, b.班次, t.实有人数, t.参考人数, t.平均分, t.最高分, "
    "t.最低分, t.中位数, t.优秀率, t.良好率, t.及格率, t.比率口径 "
    "FROM tjb t JOIN xmb x ON x.id = t.xmid JOIN gxkm k ON k.id = t.kmid "
    "LEFT JOIN gxdw d ON d.id = t.dwid LEFT JOIN gxnj n ON n.id = t.grade "
    "LEFT JOIN gxbc b ON b.id = t.classid "
    "WHERE t.xmid = $1 AND x.yhmid = $2 ";

}  // namespace

void startSiteSession(pg::Connection& connection) {
  connection.exec("SET lock_timeout = '3s'");
}

std::optional<Account> findAccount(pg::Connection& connection, std::int64_t account) {
  const auto result =
      connection.exec("SELECT 密码, coalesce(单位名称, ''), signin_epoch FROM yhm WHERE id = $1",
                      {std::to_string(account)});
  if (result.rows() == 0) return std::nullopt;
  return Account{result.text(0, 0), result.text(0, 1), result.integer(0, 2)};
}

std::optional<StudentRecord> findStudent(pg::Connection& connection, std::int64_t account,
                                         const std::string& student) {
  const auto result = connection.exec(
      "SELECT 姓名, 密码, dwid, njid, bcid, signin_epoch, 须改密码 FROM stu WHERE yhmid = $1 AND "
      "stuid = $2",
      {std::to_string(account), student});
  if (result.rows() == 0) return std::nullopt;
  return StudentRecord{result.text(0, 0),       result.text(0, 1),    result.integer(0, 2),
                       result.integer(0, 3),    result.integer(0, 4), result.integer(0, 5),
                       result.text(0, 6) == "t"};
}

bool endStudentSignIns(pg::Connection& connection, std::int64_t account, const std::string& student,
                       std::int64_t epoch) {
  return connection
             .exec(
                 "UPDATE stu SET signin_epoch = signin_epoch + 1 "
                 "WHERE yhmid = $1 AND stuid = $2 AND signin_epoch = $3",
                 {std::to_string(account), student, std::to_string(epoch)})
             .affected() == 1;
}

bool endSchoolSignIns(pg::Connection& connection, std::int64_t account, std::int64_t epoch) {
  return connection
             .exec(
                 "UPDATE yhm SET signin_epoch = signin_epoch + 1 "
                 "WHERE id = $1 AND signin_epoch = $2",
                 {std::to_string(account), std::to_string(epoch)})
             .affected() == 1;
}

std::optional<std::int64_t> setStudentPassword(pg::Connection& connection, std::int64_t account,
                                               const std::string& student,
                                               const std::string& passwordHash, bool mustChange) {
  const auto result = connection.exec(
      "UPDATE stu SET 密码 = $3, 须改密码 = $4, signin_epoch = signin_epoch + 1 "
      "WHERE yhmid = $1 AND stuid = $2 RETURNING signin_epoch",
      {std::to_string(account), student, passwordHash, std::string(mustChange ? "true" : "false")});
  if (result.rows() == 0) return std::nullopt;
  return result.integer(0, 0);
}

std::vector<ExamEntry> listExams(pg::Connection& connection, std::int64_t account,
                                 bool withExpired) {
  const auto result = connection.exec(
      std::string("SELECT x.id, x.项目名称, x.上报时间::text, "
                  "(x.上报时间 + x.有效期 * interval '1 day')::timestamp(0)::text, ") +
          kCurrent + " FROM xmb x WHERE x.yhmid = $1" +
          (withExpired ? "" : std::string(" AND ") + kCurrent) +
          " ORDER BY x.上报时间 DESC, x.id DESC",
      {std::to_string(account)});
  std::vector<ExamEntry> exams;
  for (int r = 0; r < result.rows(); ++r) {
    exams.push_back({result.integer(r, 0), result.text(r, 1), result.text(r, 2), result.text(r, 3),
                     result.text(r, 4) == "t"});
  }
  return exams;
}

std::vector<ScoreLine> studentScores(pg::Connection& connection, std::int64_t account,
                                     std::int64_t exam, const std::string& student) {
  const auto result = connection.exec(
      std::string("SELECT k.科目, c.成绩, c.总排名, c.校内排名, c.班内排名 "
                  "FROM cjb c JOIN xmb x ON x.id = c.xmid JOIN gxkm k ON k.id = c.kmid "
                  "WHERE c.xmid = $1 AND x.yhmid = $2 AND c.stuid = $3 AND ") +
          kCurrent + " ORDER BY " + kSubjectOrder,
      {std::to_string(exam), std::to_string(account), student});
  std::vector<ScoreLine> lines;
  for (int r = 0; r < result.rows(); ++r) {
    lines.push_back({result.text(r, 0), result.text(r, 1), textOrEmpty(result, r, 2),
                     textOrEmpty(result, r, 3), textOrEmpty(result, r, 4)});
  }
  return lines;
}

std::vector<StatisticsLine> scopeStatistics(pg::Connection& connection, std::int64_t account,
                                            std::int64_t exam, const StudentRecord& student) {
  return statisticsRows(
      connection.exec(std::string(kStatisticsSelect) + "AND " + kCurrent +
                          " AND t.grade = $3 AND ((t.dwid = -1 AND t.classid = -1) OR "
                          "(t.dwid = $4 AND t.classid = -1) OR (t.dwid = $4 AND t.classid = $5)) "
                          "ORDER BY " +
                          kSubjectOrder + ", t.dwid, t.classid",
                      {std::to_string(exam), std::to_string(account), std::to_string(student.grade),
                       std::to_string(student.unit), std::to_string(student.cls)}));
}

std::vector<StatisticsLine> allStatistics(pg::Connection& connection, std::int64_t account,
                                          std::int64_t exam) {
  return statisticsRows(connection.exec(
      std::string(kStatisticsSelect) + "ORDER BY n.年级, t.dwid, t.classid, " + kSubjectOrder,
      {std::to_string(exam), std::to_string(account)}));
}

std::vector<RankingEntry> listRankings(pg::Connection& connection, std::int64_t account,
                                       std::int64_t exam) {
  const auto result = connection.exec(
      std::string("SELECT p.dwid, p.njid, p.bcid, p.kmid, k.科目, coalesce(d.单位, ''), "
                  "coalesce(n.年级, ''), coalesce(b.班次, '') "
                  "FROM pmb p JOIN xmb x ON x.id = p.xmid JOIN gxkm k ON k.id = p.kmid "
                  "LEFT JOIN gxdw d ON d.id = p.dwid LEFT JOIN gxnj n ON n.id = p.njid "
                  "LEFT JOIN gxbc b ON b.id = p.bcid "
                  "WHERE p.xmid = $1 AND x.yhmid = $2 "
                  "ORDER BY n.年级, p.dwid, p.bcid, ") +
          kSubjectOrder,
      {std::to_string(exam), std::to_string(account)});
  std::vector<RankingEntry> entries;
  for (int r = 0; r < result.rows(); ++r) {
    entries.push_back(
        {{result.integer(r, 0), result.integer(r, 1), result.integer(r, 2), result.integer(r, 3)},
         result.text(r, 4),
         result.text(r, 5),
         result.text(r, 6),
         result.text(r, 7)});
  }
  return entries;
}

std::optional<std::string> rankingText(pg::Connection& connection, std::int64_t account,
                                       std::int64_t exam, const RankingKey& key) {
  const auto result = connection.exec(
      "SELECT p.pmmx FROM pmb p JOIN xmb x ON x.id = p.xmid "
      "WHERE p.xmid = $1 AND x.yhmid = $2 AND p.njid = $3 AND p.dwid = $4 AND p.bcid = $5 "
      "AND p.kmid = $6",
      {std::to_string(exam), std::to_string(account), std::to_string(key.grade),
       std::to_string(key.unit), std::to_string(key.cls), std::to_string(key.subject)});
  if (result.rows() == 0) return std::nullopt;
  return result.text(0, 0);
}

}  // namespace zeziza::cloud

#include "cloud/student_view_query.h"

#include <sodium.h>

#include <algorithm>

#include "cloud/pg.h"

namespace zeziza::cloud {

namespace {

// Rows of four kinds in sixteen text columns: kind, order within the kind, then the fields.
enum Kind { kAccount = 0, kExam = 1, kScore = 2, kStatistics = 3 };
constexpr int kFirstField = 2;

std::string buildStatement() {
  const std::string current = "x.上报时间 + x.有效期 * interval '1 day' > localtimestamp";
  const std::string subjectOrder =
      "CASE k.科目 WHEN '平均分' THEN 1 WHEN '总分' THEN 2 ELSE 0 END, k.id";
  const std::string none = ", NULL::text";
  auto pad = [&](int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += none;
    return out;
  };
  return "WITH s AS (SELECT 姓名, 密码, dwid, njid, bcid, signin_epoch, 须改密码 FROM stu "
         "WHERE yhmid = $1 AND stuid = $2), "
         "e AS (SELECT x.id, x.项目名称, x.上报时间, x.有效期 FROM xmb x WHERE x.yhmid = $1 AND " +
         current +
         "), shown AS (SELECT coalesce((SELECT id FROM e WHERE id = $3), "
         "(SELECT id FROM e ORDER BY 上报时间 DESC, id DESC LIMIT 1)) AS id) "
         "SELECT 0, 0::bigint, y.密码, coalesce(y.单位名称, ''), s.姓名, s.密码, s.dwid::text, "
         "s.njid::text, s.bcid::text, s.signin_epoch::text, s.须改密码::text" +
         pad(5) +
         " FROM yhm y LEFT JOIN s ON true WHERE y.id = $1 "
         "UNION ALL SELECT 1, row_number() OVER (ORDER BY e.上报时间 DESC, e.id DESC), "
         "e.id::text, e.项目名称, e.上报时间::text, "
         "(e.上报时间 + e.有效期 * interval '1 day')::timestamp(0)::text" +
         pad(10) +
         " FROM e "
         "UNION ALL SELECT 2, row_number() OVER (ORDER BY " +
         subjectOrder +
         "), k.科目, c.成绩::text, c.总排名::text, c.校内排名::text, c.班内排名::text" + pad(9) +
         " FROM cjb c JOIN xmb x ON x.id = c.xmid JOIN gxkm k ON k.id = c.kmid "
         "WHERE c.xmid = (SELECT id FROM shown) AND x.yhmid = $1 AND c.stuid = $2 AND " +
         current + " UNION ALL SELECT 3, row_number() OVER (ORDER BY " + subjectOrder +
         ", t.dwid, t.classid), k.科目, d.单位, n.年级, b.班次, t.实有人数::text, "
         "t.参考人数::text, t.平均分::text, t.最高分::text, t.最低分::text, t.中位数::text, "
         "t.优秀率::text, t.良好率::text, t.及格率::text, t.比率口径 "
         "FROM tjb t JOIN s ON true JOIN xmb x ON x.id = t.xmid JOIN gxkm k ON k.id = t.kmid "
         "LEFT JOIN gxdw d ON d.id = t.dwid LEFT JOIN gxnj n ON n.id = t.grade "
         "LEFT JOIN gxbc b ON b.id = t.classid "
         "WHERE t.xmid = (SELECT id FROM shown) AND x.yhmid = $1 AND " +
         current +
         " AND t.grade = s.njid AND ((t.dwid = -1 AND t.classid = -1) OR "
         "(t.dwid = s.dwid AND t.classid = -1) OR (t.dwid = s.dwid AND t.classid = s.bcid)) "
         "ORDER BY 1, 2";
}

std::string field(const pg::Result& result, int row, int column) {
  return result.isNull(row, column) ? std::string() : result.text(row, column);
}

std::string digestOf(const pg::Result& result) {
  crypto_generichash_state state;
  crypto_generichash_init(&state, nullptr, 0, 16);
  for (int r = 0; r < result.rows(); ++r) {
    for (int c = 0; c < result.columns(); ++c) {
      // Each value with its length, so that no two different row sets read the same.
      const std::string value = result.isNull(r, c) ? std::string("\xff") : result.text(r, c);
      const std::string framed = std::to_string(value.size()) + ":" + value;
      crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(framed.data()),
                                framed.size());
    }
  }
  unsigned char out[16];
  crypto_generichash_final(&state, out, sizeof out);
  char hex[sizeof out * 2 + 1];
  sodium_bin2hex(hex, sizeof hex, out, sizeof out);
  return hex;
}

void readRow(const pg::Result& result, int r, StudentViewRows& rows) {
  auto f = [&](int i) { return field(result, r, kFirstField + i); };
  switch (result.integer(r, 0)) {
    case kAccount:
      rows.account = {f(0), f(1), 0};
      if (!result.isNull(r, kFirstField + 2)) {
        rows.student = StudentRecord{f(2),
                                     f(3),
                                     std::stoll(f(4)),
                                     std::stoll(f(5)),
                                     std::stoll(f(6)),
                                     std::stoll(f(7)),
                                     f(8) == "true"};
      }
      break;
    case kExam:
      rows.exams.push_back({std::stoll(f(0)), f(1), f(2), f(3), true});
      break;
    case kScore:
      rows.scores.push_back({f(0), f(1), f(2), f(3), f(4)});
      break;
    default: {
      StatisticsLine line;
      std::string* fields[] = {
          &line.subject,       &line.unit,     &line.grade,    &line.cls,      &line.enrolled,
          &line.participants,  &line.mean,     &line.highest,  &line.lowest,   &line.median,
          &line.excellentRate, &line.goodRate, &line.passRate, &line.rateBasis};
      for (int i = 0; i < static_cast<int>(std::size(fields)); ++i) *fields[i] = f(i);
      rows.statistics.push_back(std::move(line));
    }
  }
}

}  // namespace

const std::string& studentViewStatement() {
  static const std::string statement = buildStatement();
  return statement;
}

std::optional<StudentViewRows> readStudentView(pg::Connection& connection, std::int64_t account,
                                               const std::string& student, std::int64_t wanted) {
  const pg::Param params[] = {std::to_string(account), student, std::to_string(wanted)};
  const auto result = connection.execPrepared("student_view", studentViewStatement(), params);
  if (result.rows() == 0 || result.integer(0, 0) != kAccount) return std::nullopt;
  StudentViewRows rows;
  for (int r = 0; r < result.rows(); ++r) readRow(result, r, rows);
  if (!rows.exams.empty()) {
    const bool listed = std::any_of(rows.exams.begin(), rows.exams.end(),
                                    [&](const ExamEntry& exam) { return exam.id == wanted; });
    rows.exam = listed ? wanted : rows.exams.front().id;
  }
  rows.digest = digestOf(result);
  return rows;
}

}  // namespace zeziza::cloud

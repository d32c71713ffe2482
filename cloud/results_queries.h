#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zeziza::cloud {

namespace pg {
class Connection;
}

// What the results site reads and writes of the published tables. Every value is bound as a
// parameter; every read is limited to one account.

// Readies a connection of the results site: a lock held elsewhere is waited for briefly, so a
// request fails rather than hang with the others queued behind it.
void startSiteSession(pg::Connection& connection);

struct Account {
  std::string passwordHash;
  std::string schoolName;  // empty for accounts made without one
  std::int64_t epoch = 0;  // sign-ins of another epoch have ended
};
std::optional<Account> findAccount(pg::Connection& connection, std::int64_t account);

struct StudentRecord {
  std::string name;
  std::string passwordHash;
  std::int64_t unit = 0;
  std::int64_t grade = 0;
  std::int64_t cls = 0;
  std::int64_t epoch = 0;   // sign-ins of another epoch have ended
  bool mustChange = false;  // signed in with a first password: must choose their own first
};
std::optional<StudentRecord> findStudent(pg::Connection& connection, std::int64_t account,
                                         const std::string& student);
// Sets a new password and ends every sign-in made before by moving the epoch on; returns the
// new epoch, nullopt when the account has no such student. A password the student chose clears
// `mustChange`; a first password (given by the school) sets it.
std::optional<std::int64_t> setStudentPassword(pg::Connection& connection, std::int64_t account,
                                               const std::string& student,
                                               const std::string& passwordHash,
                                               bool mustChange = false);

// Ends every sign-in of the epoch `epoch` by moving the epoch on; false when it had moved
// already (or there is no such student or account).
bool endStudentSignIns(pg::Connection& connection, std::int64_t account, const std::string& student,
                       std::int64_t epoch);
bool endSchoolSignIns(pg::Connection& connection, std::int64_t account, std::int64_t epoch);

struct ExamEntry {
  std::int64_t id = 0;
  std::string name;
  std::string published;  // "yyyy-mm-dd hh:mm:ss"
  std::string periodEnd;  // the same form
  bool current = false;   // still within its lookup period
};
// The account's exams, newest first; only those within their period unless `withExpired`.
std::vector<ExamEntry> listExams(pg::Connection& connection, std::int64_t account,
                                 bool withExpired);

// One published score of a student with its ranks ("" where not published).
struct ScoreLine {
  std::string subject;
  std::string score;
  std::string overallRank;
  std::string unitRank;
  std::string classRank;
};
// The student's scores of an exam of the account that is still within its period.
std::vector<ScoreLine> studentScores(pg::Connection& connection, std::int64_t account,
                                     std::int64_t exam, const std::string& student);

// One row of the published statistics. Unit and class names are "" for the wider scopes.
struct StatisticsLine {
  std::string subject;
  std::string unit;
  std::string grade;
  std::string cls;
  std::string enrolled, participants, mean, highest, lowest, median;
  std::string excellentRate, goodRate, passRate;
  std::string rateBasis;  // "分段", "累计", or "" where the row was published without it
};
// Statistics of the exam's scopes that hold the student's class: the grade, the unit and the
// class. The exam must be the account's and within its period.
std::vector<StatisticsLine> scopeStatistics(pg::Connection& connection, std::int64_t account,
                                            std::int64_t exam, const StudentRecord& student);
// Every published scope of the account's exam, expired or not.
std::vector<StatisticsLine> allStatistics(pg::Connection& connection, std::int64_t account,
                                          std::int64_t exam);

// A ranking text's scope, as the school picks it.
struct RankingKey {
  std::int64_t unit = -1;
  std::int64_t grade = 0;
  std::int64_t cls = -1;
  std::int64_t subject = 0;
};
struct RankingEntry {
  RankingKey key;
  std::string subject, unit, grade, cls;
};
std::vector<RankingEntry> listRankings(pg::Connection& connection, std::int64_t account,
                                       std::int64_t exam);
std::optional<std::string> rankingText(pg::Connection& connection, std::int64_t account,
                                       std::int64_t exam, const RankingKey& key);

}  // namespace zeziza::cloud

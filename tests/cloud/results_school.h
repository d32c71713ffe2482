#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "cloud/pg.h"

namespace zeziza::testing {

// Published rows of one school, written straight into the service's tables: the state a
// school's publishing leaves behind, without running it.
class PublishedSchool {
 public:
  PublishedSchool(cloud::pg::Connection& db, const std::string& name, const std::string& password);
  // The rows of an account made already.
  PublishedSchool(cloud::pg::Connection& db, std::int64_t account) : db_(db), account_(account) {}

  std::int64_t account() const { return account_; }
  // Adds a student of unit `unit`, grade 初一, class `cls`.
  void addStudent(const std::string& number, const std::string& name, const std::string& password,
                  const std::string& unit, const std::string& cls);
  // An exam published `daysAgo` days ago with a lookup period of `days`.
  std::int64_t addExam(const std::string& name, int daysAgo, int days);
  void addScore(std::int64_t exam, const std::string& student, const std::string& subject,
                const std::string& score, const std::string& overallRank = "1");
  // A statistics row of a scope; empty unit or class is the wider scope.
  void addStatistics(std::int64_t exam, const std::string& subject, const std::string& unit,
                     const std::string& cls, const std::string& mean);
  void addRanking(std::int64_t exam, const std::string& subject, const std::string& unit,
                  const std::string& cls, const std::string& text);
  std::int64_t id(const std::string& table, const std::string& column, const std::string& name);

 private:
  std::string scopeId(const std::string& table, const std::string& column, const std::string& name);

  cloud::pg::Connection& db_;
  std::int64_t account_ = 0;
};

}  // namespace zeziza::testing

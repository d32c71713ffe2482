#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zeziza::store {
class Database;
}

namespace zeziza::testing {

// A student of the roster.
struct StudentRow {
  std::string number;  // ks.id
  std::string name;
  std::string unit;
  std::string grade;
  std::string inClass;
};

// Adds the student to `ks` and returns its key `bh`.
std::int64_t addStudent(store::Database& data, const StudentRow& student);

// Adds the student's score row of `exam`: scores of subjects 1, 2, … with zf and pj kept as the
// score write keeps them (scores above 0 count).
void addScores(store::Database& data, std::int64_t bh, const std::string& exam,
               const std::vector<double>& scores);

}  // namespace zeziza::testing

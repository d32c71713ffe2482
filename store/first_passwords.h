#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zeziza::store {

class Database;

// A first password given to a student (by exam number) on the results site.
struct FirstPassword {
  std::string student;
  std::string password;
};

// Keeps the first passwords given on cloud account `account`, replacing older ones of the same
// students, in one transaction.
void keepFirstPasswords(Database& db, std::int64_t account,
                        const std::vector<FirstPassword>& passwords);

// One printed slip: a student of the roster with the first password kept for them.
struct PasswordSlip {
  std::string unit;
  std::string grade;
  std::string cls;
  std::string name;
  std::string student;
  std::int64_t account = 0;
  std::string password;
};

// The slips of the students of the roster in a unit, grade and class ("" for all of them),
// class by class in roster order; a student given passwords on several accounts gets the
// newest. Students without a kept first password have no slip.
std::vector<PasswordSlip> readPasswordSlips(Database& db, const std::string& unit,
                                            const std::string& grade, const std::string& cls);

}  // namespace zeziza::store

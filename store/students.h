#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zeziza::store {

class Database;

// A roster row (`ks`).
struct Student {
  std::int64_t key = 0;  // ks.bh
  std::string number;    // ks.id
  std::string name;
  std::string unit;
  std::string grade;
  std::string cls;
};

// The student with exam number `number` (compared as the store compares ks.id).
std::optional<Student> findStudent(Database& db, std::string_view number);
// Whether a student has exam number `number`.
bool numberStored(Database& db, std::string_view number);

struct NewStudent {
  std::string number;
  std::string name;
};

// The numbers that are stored already or occur twice in the batch, each once, in batch order.
std::vector<std::string> takenNumbers(Database& db, const std::vector<NewStudent>& batch);

// Inserts the whole batch in one transaction, unless a number is taken; returns the taken
// numbers (nothing was inserted when there are any).
std::vector<std::string> insertStudents(Database& db, const std::vector<NewStudent>& batch,
                                        const std::string& unit, const std::string& grade,
                                        const std::string& cls);

// New values for every field of one student.
struct StudentChange {
  std::int64_t key = 0;  // ks.bh of the student to change
  std::string number;
  std::string name;
  std::string unit;
  std::string grade;
  std::string cls;
};

enum class StudentChangeResult {
  Changed,
  NumberTaken,  // another student has the number; nothing written
  Missing,      // no student has the key (deleted meanwhile)
};

// The check for the number and the change run in one transaction.
StudentChangeResult changeStudent(Database& db, const StudentChange& change);

// Removes students and their scores in one transaction: all of them, or none.
void removeStudents(Database& db, std::span<const std::int64_t> keys);

// Removes one student; his scores go with him only when `withScores`. False, removing
// nothing, when he has scores to keep.
bool removeStudent(Database& db, std::int64_t key, bool withScores);

// The roster fields that name a place.
enum class PlaceField { Unit, Grade, Class };

// Whether any student is in the unit, grade or class called `name`.
bool placeInUse(Database& db, PlaceField field, std::string_view name);

}  // namespace zeziza::store

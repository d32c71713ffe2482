#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/score_write.h"
#include "store/students.h"

namespace zeziza::store {

class Database;

// A student of a class as the score grid lists him.
struct ClassMember {
  std::int64_t key = 0;  // ks.bh
  std::string number;    // ks.id, the exam number the school knows the student by
  std::string name;
};

// The students of one class, by exam number (shorter numbers first, so 701 comes before 1000).
std::vector<ClassMember> classMembers(Database& db, const Place& place);

// The stored score of one subject (position from 1) of a student in `exam`; 0 when none.
double storedScore(Database& db, std::string_view exam, std::int64_t student, int subject);

// One box of the grid to store.
struct GridScore {
  std::int64_t student = 0;  // ks.bh
  double value = 0;
};

// What every score of one grid save shares.
struct GridSave {
  std::string_view exam;
  int subject = 0;              // position in the subject list, from 1
  int subjectCount = 0;         // subjects in the list now
  bool keepValidScore = false;  // refuse to replace a score above 0 (score clerks)
  ScoreAuthor author;
};

struct GridSaveOutcome {
  bool keptExisting = false;  // keepValidScore refused at least one score
};

// Writes the grid in one transaction: saved whole or not at all (a store error throws).
GridSaveOutcome saveClassGrid(Database& db, const GridSave& save,
                              std::span<const GridScore> scores);

}  // namespace zeziza::store

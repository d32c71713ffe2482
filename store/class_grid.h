#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/scope.h"
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
// `place` names one class (Scope::isPlace); any other scope throws std::logic_error.
std::vector<ClassMember> classMembers(Database& db, const Scope& place);

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

// A box whose score may not be stored: not finite, negative or above the subject's full mark.
struct RefusedBox {
  std::size_t box = 0;  // index into the scores saved
  analysis::ScoreFault fault = analysis::ScoreFault::None;
  int fullMark = 0;
};

struct GridSaveOutcome {
  bool keptExisting = false;  // keepValidScore refused at least one score
  std::vector<RefusedBox> refused;
  WriteCounts counts;  // the boxes stored, taken away and left as they were
};

// Writes the grid in one transaction (a store error throws and writes nothing); refused
// boxes are left out and told, the others are written. A box of 0 is no score: a student's
// last score goes with his row, and a student without one gets none.
GridSaveOutcome saveClassGrid(Database& db, const GridSave& save,
                              std::span<const GridScore> scores);

}  // namespace zeziza::store

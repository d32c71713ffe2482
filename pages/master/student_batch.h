#pragma once

#include <string>
#include <vector>

namespace zeziza::store {
class Database;
}

namespace zeziza::pages {

struct NewStudent {
  std::string number;
  std::string name;
};

// The students of the add panel's two boxes, or the refusal to show.
struct StudentBatch {
  std::vector<NewStudent> students;
  std::string refusal;
};

// Pairs number line i with name line i. Lines are trimmed; blank lines at the end of a box
// are ignored, a pair of blank lines is skipped, and a pair with one side blank is refused
// naming its line.
StudentBatch readStudentBatch(const std::vector<std::string>& numbers,
                              const std::vector<std::string>& names);

// The numbers that are stored already or occur twice in the batch, each once, in batch order.
std::vector<std::string> takenNumbers(store::Database& db, const std::vector<NewStudent>& batch);

// Inserts the whole batch in one transaction, unless a number is taken; returns the taken
// numbers (nothing was inserted when there are any).
std::vector<std::string> insertStudents(store::Database& db, const std::vector<NewStudent>& batch,
                                        const std::string& unit, const std::string& grade,
                                        const std::string& cls);

}  // namespace zeziza::pages

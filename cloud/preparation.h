#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cloud/scratch_table.h"
#include "cloud/service.h"

namespace zeziza::cloud {

class Progress;
class PublishLease;

// Names and the service's ids for them, entry k of one for entry k of the other.
struct LoopList {
  std::vector<std::string> names;
  std::vector<std::int64_t> ids;
};

// What the upload walks: the chosen units, grades, classes and subjects.
struct LoopLists {
  LoopList units;
  LoopList grades;
  LoopList classes;
  LoopList subjects;
};

struct PreparationRequest {
  std::filesystem::path dataFile;  // `data`
  std::filesystem::path tempFile;  // `temp`, holding the scratch table
  std::string conninfo;
  std::int64_t account = 0;
  std::string exam;
  std::vector<std::string> subjectList;  // the subject list: position i is score column k<i+1>
  RankChoice ranks;
  // The names chosen for publishing, in order.
  std::vector<std::string> units;
  std::vector<std::string> grades;
  std::vector<std::string> classes;
  std::vector<std::string> subjects;
  analysis::AverageBasis averages = analysis::AverageBasis::SubjectsSat;  // of the 平均分 rows
};

struct PreparationResult {
  std::size_t rows = 0;            // scratch rows written
  std::optional<Project> project;  // the exam's project when it was published before
  LoopLists loops;
  std::uint64_t preparation = 0;  // the number the publish lease gave it
};

// Step 2 of publishing: fills and ranks the scratch table, looks up the exam's project and maps
// the chosen names to the service's ids, logging as it goes. The lease must be held.
PreparationResult prepare(const PreparationRequest& request, PublishLease& lease,
                          Progress& progress);

}  // namespace zeziza::cloud

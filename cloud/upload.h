#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "analysis/ranks.h"
#include "analysis/statistics.h"
#include "cloud/preparation.h"

namespace zeziza::cloud {

class Progress;
class PublishLock;

// Rows of one transaction (one COPY per table, one merge, one sync on the service).
inline constexpr std::size_t kRowsPerBatch = 20000;

struct RosterRequest {
  std::filesystem::path dataFile;
  std::string conninfo;
  std::int64_t account = 0;
  // The school's one password for every student new on the service, when it chose one;
  // otherwise each new student gets a random first password of their own.
  std::optional<std::string> sharedPassword;
  LoopLists loops;
  std::size_t rowsPerBatch = kRowsPerBatch;
};

struct RosterResult {
  std::size_t sent = 0;
  std::size_t added = 0;    // new on the service: given a first password
  std::size_t skipped = 0;  // students whose unit, grade or class is not in the loop lists
};

// Step 3: creates or updates one `stu` row per student of the roster. A student new on the
// service gets a first password, hashed with a salt of its own and kept in the data file for
// the password slips, and must choose their own at the first sign-in; a student the service
// has keeps its password.
RosterResult uploadRoster(const RosterRequest& request, Progress& progress);

// Which ranking texts and statistics a publication sends, per grade, unit and class.
struct PublishChoice {
  bool gradeRanking = true, unitRanking = true, classRanking = true;
  bool gradeStatistics = true, unitStatistics = true, classStatistics = true;
};

struct PublishRequest {
  std::filesystem::path dataFile;
  std::filesystem::path tempFile;
  std::string conninfo;
  std::int64_t account = 0;
  std::string exam;
  int days = 15;  // lookup period of a project created now
  LoopLists loops;
  PublishChoice choice;
  analysis::LevelThresholds thresholds;  // points out of 100
  std::vector<int> bands;                // points out of 100
  std::uint64_t preparation = 0;         // the preparation the scratch table must still hold
  std::size_t rowsPerBatch = kRowsPerBatch;
  // Each subject's full mark, by position in the subject list; levels and bands of a subject,
  // 总分 and 平均分 are scaled to it (none: all 100).
  std::vector<std::string> subjectList = {};
  std::vector<int> fullMarks = {};
  analysis::RankMode rankMode = analysis::RankMode::Sequential;  // of the ranking texts
  analysis::RateBasis rates = analysis::RateBasis::Bands;        // of the good and pass rates
};

struct PublishResult {
  std::int64_t project = 0;
  std::size_t rankings = 0;
  std::size_t statistics = 0;
  std::size_t scores = 0;
};

// Step 4: the exam's project, then per subject and grade, unit and class the ranking texts,
// statistics and scores of the scratch table. Refused when another preparation has replaced
// the scratch table since `preparation`, as `lock` records.
PublishResult publishExam(const PublishRequest& request, const PublishLock& lock,
                          Progress& progress);

}  // namespace zeziza::cloud

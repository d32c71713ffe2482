#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cloud/results_queries.h"
#include "results/page_frame.h"

namespace zeziza::results {

// A password the school has just reset, shown once.
struct IssuedPassword {
  std::string student;
  std::string name;
  std::string password;
};

// What the school's own account sees: every exam, expired ones too, with every published
// scope's statistics and ranking texts.
struct SchoolView {
  std::int64_t school = 0;
  std::string schoolName;
  Notice notice;
  std::vector<cloud::ExamEntry> exams;
  std::int64_t exam = 0;
  std::vector<cloud::StatisticsLine> statistics;
  std::vector<cloud::RankingEntry> rankings;
  // The ranking text picked from the list, with its scope's caption.
  std::optional<std::string> rankingCaption;
  std::string rankingText;
  std::optional<IssuedPassword> issued;
};

std::string schoolPage(const SchoolView& view);
// The caption of a ranking scope ("初一 东校区 一班 数学").
std::string rankingCaption(const cloud::RankingEntry& entry);

}  // namespace zeziza::results

#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cloud/publish_texts.h"

namespace zeziza::cloud {

// Scope names compare as the local store compares them: ASCII letters without case.
std::string scopeKey(std::string_view name);

// The scratch rows grouped by scope, each scope's rows in descending score order (ties in
// the order they were written), and the roster counts per scope.
class ScratchIndex {
 public:
  ScratchIndex(const std::filesystem::path& tempFile, const std::filesystem::path& dataFile);

  using Rows = std::vector<const ScratchScore*>;
  const Rows& grade(const std::string& subject, const std::string& grade) const;
  const Rows& unit(const std::string& subject, const std::string& grade,
                   const std::string& unit) const;
  const Rows& inClass(const std::string& subject, const std::string& grade, const std::string& unit,
                      const std::string& inClass) const;

  // Students of the roster in the grade (and unit, and class), whatever their scores.
  int enrolled(const std::string& grade, const std::string& unit = {},
               const std::string& inClass = {}) const;

 private:
  const Rows& find(const std::string& key) const;
  void groupByScope();
  void countEnrolled(const std::filesystem::path& dataFile);

  std::vector<ScratchScore> rows_;
  std::map<std::string, Rows> scopes_;
  std::map<std::string, int> enrolled_;
};

}  // namespace zeziza::cloud

#pragma once

#include <string>

namespace zeziza::pages {

// The exam the header names: the default exam, or, before any exam exists, that there is none
// and who adds one (an administrator, in 【考试设置】).
std::string headerExamLabel(const std::string& defaultExam, int rightsCode);

}  // namespace zeziza::pages

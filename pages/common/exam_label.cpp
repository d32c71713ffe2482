#include "pages/common/exam_label.h"

#include "pages/common/rights.h"

namespace zeziza::pages {

std::string headerExamLabel(const std::string& defaultExam, int rightsCode) {
  if (!defaultExam.empty()) return defaultExam;
  const bool admin = rightsCode == rights::kSuperAdmin || rightsCode == rights::kAdmin;
  return admin ? "尚无考试，请在【考试设置】添加" : "尚无考试，请等管理员添加";
}

}  // namespace zeziza::pages

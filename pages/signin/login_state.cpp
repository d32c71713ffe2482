#include "pages/signin/login_state.h"

#include <algorithm>

#include "store/comma_text.h"
#include "store/settings.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

// `cj` has the score columns k1 to k12.
constexpr std::size_t kMaxSubjects = 12;

std::size_t subjectCount(const std::vector<std::string>& subjects) {
  return std::min(subjects.size(), kMaxSubjects);
}

std::string quotedIdentifier(const std::string& name) {
  std::string out = "\"";
  for (const char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::string subjectColumnsFor(const std::vector<std::string>& subjects) {
  std::string out;
  for (std::size_t i = 0; i < subjectCount(subjects); ++i) {
    out += ",cj.k" + std::to_string(i + 1) + " as " + quotedIdentifier(subjects[i]) + " ";
  }
  return out;
}

std::vector<std::string> subjectKeysFor(const std::vector<std::string>& subjects) {
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < subjectCount(subjects); ++i) {
    std::string key = "k";
    key += std::to_string(i + 1);
    keys.push_back(std::move(key));
  }
  return keys;
}

void fillLoginState(web::TIWUserSession& session, const std::string& userName,
                    const std::string& rightsCode) {
  store::Database& db = session.ADOConnection1.db();
  session.userName = userName;
  session.rightsCode = rightsCode;
  session.examList = store::toCommaText(store::readListSetting(db, store::key::kExams));
  session.gradeList = store::toCommaText(store::readListSetting(db, store::key::kGrades));
  session.defaultExam = store::readSetting(db, store::key::kDefaultExam);
  session.workMode = store::readSetting(db, store::key::kWorkMode);
  const auto subjects = store::settingsCache().get()->subjects;
  session.subjectKeys = subjectKeysFor(subjects);
  session.subjectColumns = subjectColumnsFor(subjects);
  session.pageType = 1;
}

}  // namespace zeziza::pages

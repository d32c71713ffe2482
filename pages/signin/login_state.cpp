#include "pages/signin/login_state.h"

#include "pages/analysis/score_query.h"
#include "pages/common/rights.h"
#include "store/settings.h"
#include "store/subject_columns.h"
#include "web/user_session.h"

namespace zeziza::pages {

void fillLoginState(web::Session& session, const std::string& userName,
                    const std::string& rightsCode) {
  store::Database& db = session.dataConnection.db();
  session.userName = userName;
  session.rights = parseRightsCode(rightsCode);
  session.exams = store::readListSetting(db, store::key::kExams);
  session.grades = store::readListSetting(db, store::key::kGrades);
  session.defaultExam = store::readSetting(db, store::key::kDefaultExam);
  session.workMode = store::readSetting(db, store::key::kWorkMode);
  session.subjects = store::numberSubjects(session.context().settings().get()->subjects);
  session.navigationEntry = ScoreQueryPage::kName;
}

}  // namespace zeziza::pages

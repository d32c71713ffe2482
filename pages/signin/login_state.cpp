#include "pages/signin/login_state.h"

#include "pages/analysis/score_query.h"
#include "pages/common/rights.h"
#include "store/settings.h"
#include "store/subject_columns.h"
#include "store/users.h"
#include "web/user_session.h"

namespace zeziza::pages {

void fillLoginState(web::Session& session, const std::string& userName,
                    const std::string& rightsCode) {
  store::Database& db = session.dataConnection.db();
  // The version first: a change of the account from now on is looked at by the next request.
  session.login.accountsChecked = session.context().accountsVersion();
  session.login.rightsStamp = store::rightsStamp(db, userName).value_or("");
  session.login.userName = userName;
  session.login.rights = parseRightsCode(rightsCode);
  session.login.exams = store::readListSetting(db, store::key::kExams);
  session.login.grades = store::readListSetting(db, store::key::kGrades);
  session.login.defaultExam = store::readSetting(db, store::key::kDefaultExam);
  session.login.workMode = store::readSetting(db, store::key::kWorkMode);
  session.login.subjects = store::numberSubjects(session.context().settings().get()->subjects);
  session.navigationEntry = ScoreQueryPage::kName;
}

}  // namespace zeziza::pages

#include "pages/signin/login_state.h"

#include "pages/analysis/score_query.h"
#include "pages/common/rights.h"
#include "store/settings.h"
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
  // Read after the stamp: a place changed in between differs from the stamp and ends the
  // session at the next request, so a stale place is never kept.
  session.login.permitted = session.login.rights == rights::kClassTeacher
                                ? store::accountPlace(db, userName)
                                : store::Scope{};
  session.login.grades = store::readListSetting(db, store::key::kGrades);
  session.readOfficeSettings();
  session.navigationEntry = ScoreQueryPage::kName;
}

}  // namespace zeziza::pages

// The real server whose sessions start signed in as a super administrator on the roster page,
// with the grade and exam lists a sign-in reads from the store: for the master-data journeys,
// which need no login page.

#include "host/server_host.h"
#include "pages/master/roster.h"
#include "store/settings.h"
#include "tests/support/test_server_runner.h"
#include "web/user_session.h"

namespace {

std::unique_ptr<zeziza::web::Page> signedInRoster() {
  namespace store = zeziza::store;
  auto& session = zeziza::web::currentSession();
  auto& db = session.dataConnection.db();
  session.login.userName = "admin";
  session.login.rights = 0;
  session.login.grades = store::readListSetting(db, store::key::kGrades);
  session.login.exams = store::readListSetting(db, store::key::kExams);
  session.login.defaultExam = store::readSetting(db, store::key::kDefaultExam);
  session.navigationEntry = "RosterPage";
  return std::make_unique<zeziza::pages::RosterPage>();
}

}  // namespace

int main(int argc, char** argv) {
  return zeziza::testing::runTestServer(argc, argv, signedInRoster);
}

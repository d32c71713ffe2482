// The real server starting at the login page, on a school ready for score entry: a grade, a
// default exam, a class of students, a score clerk (clerk / pw), a supervisor (boss / pw) and
// a super administrator (admin / pw).
// For the score entry journeys, which sign in through the login page.

#include "host/server_host.h"
#include "pages/common/start_page.h"
#include "store/database.h"
#include "store/settings.h"
#include "store/transaction.h"
#include "tests/support/test_server_runner.h"

namespace {

namespace store = zeziza::store;

void arrangeSchool(zeziza::host::ServerHost& host) {
  store::Database db(host.folder().data());
  store::Transaction transaction(db);
  store::writeListSetting(db, store::key::kGrades, {"七年级"});
  store::writeListSetting(db, store::key::kExams, {"期中"});
  store::writeSetting(db, store::key::kDefaultExam, "期中");
  const char* names[] = {"张三", "李四", "王五", "赵六"};
  for (int i = 0; i < 4; ++i) {
    db.exec("insert into ks (id,xm,xx,nj,bj) values (?,?,'中心校区','七年级','一班')",
            {std::to_string(801 + i), names[i]});
  }
  db.exec("insert into ks (id,xm,xx,nj,bj) values ('805','钱七','中心校区','七年级','二班')");
  auto& hasher = host.context().passwordHasher();
  // A super administrator exists, so the login page opens without the first-admin panel.
  for (const auto& [user, code] :
       {std::pair{"admin", "0"}, std::pair{"clerk", "3"}, std::pair{"boss", "2"}}) {
    db.exec("insert into yh (user,pass,qx) values (?,?,?)", {user, hasher.hash("pw"), code});
  }
  transaction.commit();
}

}  // namespace

int main(int argc, char** argv) {
  return zeziza::testing::runTestServer(argc, argv, zeziza::pages::startPage(), arrangeSchool);
}

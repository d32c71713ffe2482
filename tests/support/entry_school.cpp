#include "tests/support/entry_school.h"

#include "auth/password_hasher.h"
#include "store/data_folder.h"
#include "store/database.h"
#include "store/transaction.h"

namespace zeziza::testing {

void prepareEntrySchool(const std::filesystem::path& dir, int students) {
  const store::DataFolder folder{dir};
  store::prepareDataFolder(folder);
  store::Database db(folder.data());
  auth::PasswordHasher hasher(1);
  store::Transaction t(db);
  db.exec("insert into yh (user, pass, qx) values ('admin', ?, '0')", {hasher.hash("admin")});
  db.exec("insert into yh (user, pass, qx) values ('load', ?, '2')", {hasher.hash("load")});
  db.exec("update sysset set zdz=? where zdm='ks'", {"期中\r\n"});
  db.exec("update sysset set zdz='期中' where zdm='mrtest'");
  db.exec("update sysset set zdz=? where zdm='nj'", {"七年级\r\n"});
  for (int i = 0; i < students; ++i) {
    db.exec("insert into ks (id, xm, xx, nj, bj) values (?, ?, '中心校区', '七年级', '一班')",
            {entryStudentNumber(i), "学生" + std::to_string(i)});
  }
  t.commit();
}

}  // namespace zeziza::testing
